#include "gui/GuiFixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "convert/Examples.h"

namespace qrv::test {

GuiFixture::GuiFixture(const std::string& defaultIni) {
    std::filesystem::create_directories(dir / "Data");
    writeFile(dir / "Data" / "Default.ini", defaultIni);
    // The sample reference data an initialised data folder holds (a folder without it is refused).
    for (const char* name :
         {"Bank.csv", "Branch.csv", "WHT_FORM_TYPE.csv", "WHT_TAX_TYPE.csv", "WHT_PAY_TYPE.csv"}) {
        std::filesystem::copy_file(std::filesystem::path(QRV_SOURCE_DATA) / name, dir / "Data" / name);
    }
    start();
}

void GuiFixture::restart() {
    main_->close();
    main_.reset();
    start();
}

void GuiFixture::start() {
    gui::QtUi::Hooks hooks;
    hooks.message = [this](MessageKind kind, const QString& text) { messages.emplace_back(kind, text); };
    hooks.question = [this](const QString& text) {
        messages.emplace_back(MessageKind::Confirmation, text);
        return questionAnswer;
    };
    hooks.openFile = [this](const QString& filter) {
        openFilters.push_back(filter);
        openFolders.push_back(main_->ui().dialogFolder());
        return openAnswer;
    };
    hooks.saveFile = [this](const QString& filter, const QString& proposed) {
        saveRequests.emplace_back(filter, proposed);
        return saveAnswer;
    };
    hooks.report = [this](const ShownReport& report, const QString& html) {
        reports.emplace_back(report, html);
    };
    main_ = std::make_unique<gui::MainWindow>(
        gui::MainWindow::Options{AppPaths{dir / "Data", QRV_SOURCE_REPORTS}, &clock, std::move(hooks),
                                 QString::fromStdString((dir / "settings.ini").string())});
    main_->resize(1100, 800);
    main_->showMaximized();
    QApplication::processEvents();
}

GuiFixture::~GuiFixture() = default;

void GuiFixture::choose(Choice c) {
    QRadioButton* r = workbench().radio(c);
    QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(6, r->height() / 2));
}

std::vector<QString> GuiFixture::messageTexts() const {
    std::vector<QString> texts;
    for (const auto& m : messages) {
        texts.push_back(m.second);
    }
    return texts;
}

void GuiFixture::type(Control c, const QString& text) {
    QWidget* w = workbench().control(c);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(text);
    } else if (auto* box = qobject_cast<QComboBox*>(w)) {
        box->setEditText(text);
    }
}

void GuiFixture::press(Control c) {
    static_cast<QAbstractButton*>(workbench().control(c))->click();
    workbench().waitForRun();
}

std::filesystem::path GuiFixture::example(const std::string& name) {
    if (!std::filesystem::exists(dir / "ex")) {
        writeExamples(dir / "ex", clock.today());
    }
    return dir / "ex" / name;
}

void GuiFixture::readyDirectDebit100M(const std::string& exampleName) {
    choose(Choice::DirectDebit100M);
    type(Control::companyId, QStringLiteral("V5CORP01"));
    type(Control::creditAccount, QStringLiteral("0142000013"));
    type(Control::debitFeeAccount, QStringLiteral("5550001116"));
    workbench()
        .findChild<QComboBox*>(QLatin1String(controlName(Control::processingRound)))
        ->setCurrentIndex(0);
    type(Control::source, example(exampleName));
    type(Control::destination, dir / "ddr-out.txt");
}

QString shownText(const QWidget* w) {
    QString text;
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        text = l->text();
    } else if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        text = b->text();
    }
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

}  // namespace qrv::test
