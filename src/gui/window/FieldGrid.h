#pragma once

#include <QGridLayout>
#include <string>

#include "workbench/ProductChoice.h"
#include "workbench/ProductControls.h"

class QComboBox;
class QLabel;

namespace qrv {
struct WorkbenchFields;
}

namespace qrv::gui {

class WorkbenchControls;

// The form's fields, a row each: caption, field(s) and Browse; then Print detail and the hash value.
// Rows whose controls are all hidden take no room. Several products share a row, each showing its own
// controls in it (the fee account's long and short fields, the round list and the second file).
class FieldGrid : public QGridLayout {
    Q_OBJECT
  public:
    FieldGrid(WorkbenchControls& controls, const WorkbenchFields& initial);

    // The texts as typed into the workbench's fields.
    void copyTo(WorkbenchFields& f) const;
    // The workbench's fields shown; a text already shown is not set again (the cursor stays).
    void show(const WorkbenchFields& f);
    // Each field named by the caption shown beside it, and the caption's mnemonic leading to it; each
    // Browse by the field it fills.
    void nameForScreenReaders();
    // The round list offers its items only while it is shown.
    void offerRounds();
    // The file fields' tips for the product: what each file is and what comes beside it.
    void describeFiles(Choice choice);

  private:
    void addCompanyRows(int& row);
    void addAccountRows(int& row);
    void addFileRows(int& row);
    void addResultRows(int& row);
    void setBuddies();
    void setToolTips();
    bool shown(Control c) const;

    WorkbenchControls& controls_;
    QComboBox* round_ = nullptr;
    QLabel* hashCaption_ = nullptr;
};

}  // namespace qrv::gui
