#pragma once

#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "base/Date.h"
#include "store/TableStore.h"
#include "workbench/RunHistoryView.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace qrv::gui {

class QtUi;
class RunHistoryModel;

// "Run history": every run of "Reformat Data", from the window or qrv, newest first, filtered by
// company, product and dates; a run's folder opens, its hash is copied. The window reads the data
// folder's table store on a connection of its own, so it shows the history while a run writes.
class RunHistoryWindow : public QWidget {
    Q_OBJECT
  public:
    // Over the data folder of `store` (made as it would make it, if need be); the date filters start at
    // `today`, unticked.
    RunHistoryWindow(const TableStore& store, const Date& today, QtUi& ui, QWidget* parent = nullptr);
    ~RunHistoryWindow() override;

    // Reads the runs the filter takes again (the frame calls it when a run ends).
    void refresh();
    // What opens a folder (the desktop's file manager; tests record it). False when nothing could.
    using Opener = std::function<bool(const QUrl&)>;
    void setOpener(Opener opener) { opener_ = std::move(opener); }

    QTableView* table() const { return table_; }
    QLineEdit* companyFilter() const { return company_; }
    QComboBox* productFilter() const { return product_; }
    QCheckBox* fromCheck() const { return fromOn_; }
    QDateEdit* fromDate() const { return from_; }
    QCheckBox* toCheck() const { return toOn_; }
    QDateEdit* toDate() const { return to_; }
    QPushButton* openFolderButton() const { return openFolder_; }
    QPushButton* copyHashButton() const { return copyHash_; }
    QLabel* countLabel() const { return count_; }

  private:
    QWidget* buildFilter(const Date& today);
    void filterChanged();
    const RunEntry* chosenRun() const;
    void openFolder();
    void copyHash();
    void updateButtons();

    TableStore store_;
    RunHistoryView view_;
    QtUi& ui_;
    Opener opener_;
    RunHistoryModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* company_ = nullptr;
    QComboBox* product_ = nullptr;
    QCheckBox* fromOn_ = nullptr;
    QDateEdit* from_ = nullptr;
    QCheckBox* toOn_ = nullptr;
    QDateEdit* to_ = nullptr;
    QPushButton* openFolder_ = nullptr;
    QPushButton* copyHash_ = nullptr;
    QLabel* count_ = nullptr;
};

}  // namespace qrv::gui
