#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <set>

#include "gui/GuiFixture.h"
#include "gui/app/AccountDialog.h"
#include "gui/app/LoginDialog.h"
#include "gui/history/RunHistoryWindow.h"
#include "gui/language/Language.h"
#include "gui/language/SystemTexts.h"
#include "gui/refdata/BankWindow.h"
#include "gui/refdata/BranchWindow.h"
#include "gui/refdata/MaintenancePanel.h"
#include "gui/reports/ReportPreview.h"
#include "gui/sheet/SheetMappingDialog.h"
#include "gui/window/RememberedWork.h"
#include "gui/window/ResultPanel.h"
#include "gui/window/SourceViewer.h"
#include "workbench/ProductChoice.h"
#include "workbench/ProductControls.h"

// The window in Thai: every text a person sees, in every window, and the way back to English.
namespace qrv::test {
namespace {

using C = Control;

// Installs a language for the life of a test; English again after it.
struct LanguageScope {
    explicit LanguageScope(gui::Language language) { gui::InstallLanguage(language); }
    ~LanguageScope() { gui::InstallLanguage(gui::Language::English); }
};

void addMenuTexts(const QList<QAction*>& actions, QStringList& out) {
    for (const QAction* action : actions) {
        if (!action->text().isEmpty()) {
            out << action->text();
        }
        if (!action->toolTip().isEmpty() && action->toolTip() != action->text()) {
            out << action->toolTip();
        }
        if (action->menu() != nullptr) {
            addMenuTexts(action->menu()->actions(), out);
        }
    }
}

// Every text a person sees in `root` and its shown children: captions, titles, tooltips, placeholders, list
// and combo items, table headings, page counters and menu entries. What was typed or read from a file (line
// edits' text, table cells) is data and left out.
QStringList shownTexts(QWidget* root) {
    QStringList out;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        if (!w->isVisible()) {
            continue;
        }
        if (w->isWindow()) {
            out << w->windowTitle();
        }
        out << w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            out << (label->textFormat() == Qt::PlainText
                        ? label->text()
                        : QTextDocumentFragment::fromHtml(label->text()).toPlainText());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            out << button->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            out << group->title();
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            out << edit->placeholderText();
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i) {
                out << combo->itemText(i);
            }
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            for (int i = 0; i < list->count(); ++i) {
                out << list->item(i)->text();
            }
        } else if (auto* table = qobject_cast<QTableView*>(w)) {
            for (int c = 0; c < table->model()->columnCount(); ++c) {
                out << table->model()->headerData(c, Qt::Horizontal).toString();
            }
        } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
            out << spin->prefix() << spin->suffix();
        } else if (auto* bar = qobject_cast<QProgressBar*>(w)) {
            out << bar->format();
        } else if (auto* menuBar = qobject_cast<QMenuBar*>(w)) {
            addMenuTexts(menuBar->actions(), out);
        }
    }
    out.removeAll(QString());
    return out;
}

// The English words of a text. Not English: product codes, names of the program and of file formats, key
// names, single letters (mnemonics shown as "(&R)"), numbers and file names or paths.
QStringList englishWords(QString text) {
    static const std::set<QString> kept = {
        "DCP",     "PAY",  "PA2",   "PA3",  "PA4",    "PA5",       "PA6", "MCL",
        "MCP",     "DDR",  "V5",    "100M", "QRV",    "Convertor", "PDF", "HTML",
        "CSV",     "Ctrl", "Shift", "PgUp", "PgDown", "Esc",       "ESC", "Enter",
        "English",          // the Language menu names each language in its own words
        "UTF-8",   "XLSX",  // names of encodings and file formats
    };
    static const QRegularExpression token(QStringLiteral("[A-Za-z0-9_.:/\\\\-]+"));
    static const QRegularExpression fileName(QStringLiteral("[/\\\\]|\\.[A-Za-z0-9]"));
    static const QRegularExpression key(QStringLiteral("^F[0-9]{1,2}$"));
    static const QRegularExpression letters(QStringLiteral("[A-Za-z]{2,}"));
    text.remove(QLatin1Char('&'));
    QStringList words;
    for (auto it = token.globalMatch(text); it.hasNext();) {
        QString word = it.next().captured();
        if (word.contains(fileName)) {
            continue;
        }
        word.remove(QRegularExpression(QStringLiteral("[.:\\-]+$")));
        if (kept.count(word) != 0 || key.match(word).hasMatch() || !word.contains(letters)) {
            continue;
        }
        words << word;
    }
    return words;
}

// Runs a Direct Credit example with mistakes, so that the Last run panel and its rejected lines show.
void runDirectCreditWithMistakes(GuiFixture& f) {
    f.choose(Choice::DirectCredit);
    f.type(C::source, f.example("direct-credit-mistakes.txt"));
    f.type(C::companyId, QStringLiteral("ACME02"));
    f.type(C::debitAccount, QStringLiteral("1234567896"));
    f.type(C::feeAccount, QStringLiteral("1234567896"));
    f.type(C::destination, f.dir / "dcp.out");
    f.press(C::reformat);
}

// What each window shows, walked in one language: the workbench in every product's layout, the Last run
// panel with its rejected lines, a report preview, the log-in and account dialogs, and the bank and
// branch windows. Each entry is a window's name with its texts.
std::vector<std::pair<QString, QStringList>> walkEveryWindow() {
    std::vector<std::pair<QString, QStringList>> seen;
    GuiFixture f;
    for (const ChoiceInfo& info : choices()) {
        if (f.workbench().radio(info.choice)->isVisible() && f.workbench().radio(info.choice)->isEnabled()) {
            f.choose(info.choice);
            seen.emplace_back(QStringLiteral("workbench, ") + info.control, shownTexts(&f.main()));
        }
    }
    f.press(C::clearForm);
    runDirectCreditWithMistakes(f);
    seen.emplace_back(QStringLiteral("Last run panel"), shownTexts(f.workbench().resultPanel()));
    f.workbench().resultPanel()->showRejectedButton()->click();
    auto* viewer = f.workbench().resultPanel()->findChild<gui::SourceViewer*>();
    EXPECT_NE(viewer, nullptr);
    if (viewer != nullptr) {
        // The line under the text names the field of the first rejected entry, where the cursor is.
        EXPECT_FALSE(viewer->fieldLine()->text().isEmpty());
        seen.emplace_back(QStringLiteral("rejected lines"), shownTexts(viewer));
        viewer->close();
    }

    f.main().showRunHistory();
    seen.emplace_back(QStringLiteral("run history"), shownTexts(f.main().runHistory()));
    f.main().runHistory()->parentWidget()->close();
    f.main().showWorkbench();

    gui::ReportPreview preview;
    preview.setPage("rptResult.frf",
                    f.reports.empty() ? QStringLiteral("<p>1</p>") : f.reports.back().second);
    preview.show();
    QApplication::processEvents();
    seen.emplace_back(QStringLiteral("report preview"), shownTexts(&preview));

    f.main().password()->show();
    seen.emplace_back(QStringLiteral("log-in"), shownTexts(f.main().password()));
    f.main().password()->hide();
    f.main().account()->show();
    seen.emplace_back(QStringLiteral("account entry"), shownTexts(f.main().account()));
    f.main().account()->hide();

    gui::BankWindow* bank = gui::BankWindow::open(f.main().mdiArea(), f.main().store(), f.main().ui());
    QApplication::processEvents();
    seen.emplace_back(QStringLiteral("bank window"), shownTexts(bank));
    QStringList branch;
    QTimer::singleShot(0, [&branch] {
        if (auto* dialog = qobject_cast<gui::BranchWindow*>(QApplication::activeModalWidget())) {
            branch = shownTexts(dialog);
            dialog->reject();
        }
    });
    bank->panel()->button(MaintenanceButton::Branch)->click();
    seen.emplace_back(QStringLiteral("branch window"), branch);

    // A sheet with a title row and a total row, mapped but for the date, the total row left out. Its
    // headers show in the lists; being the customer's words, they are in the walk's language.
    writeFile(f.dir / "own.csv", gui::InstalledLanguage() == gui::Language::Thai
                                     ? "เงินเดือน ธันวาคม\r\nเลขที่บัญชี,จำนวนเงิน,ชื่อ\r\n"
                                       "1234567896,100.00,สมชาย\r\n,100.00,รวม\r\n"
                                     : "December pay\r\nAccount,Amount,Name\r\n"
                                       "1234567896,100.00,Somchai\r\n,100.00,Total\r\n");
    f.choose(Choice::DirectCredit);
    SheetMappingForm form(f.dir / "own.csv", f.model());
    for (size_t i = 0; i < form.fields().size(); ++i) {
        if (form.fields()[i].name == "credit account") {
            form.setChoice(i, {FieldChoice::Kind::Column, {}, 0});
        }
    }
    form.leaveOut = {4};
    gui::SheetMappingDialog mapping(form, f.main().ui());
    mapping.show();
    while (mapping.running()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    seen.emplace_back(QStringLiteral("mapping dialog"), shownTexts(&mapping));
    mapping.done(QDialog::Rejected);
    // The fixture's folder differs from one walk to the next.
    for (auto& [window, texts] : seen) {
        texts.replaceInStrings(QString::fromStdString(f.dir.path().string()), QStringLiteral("DIR"));
    }
    return seen;
}

TEST(ThaiInterface, NoWindowShowsEnglishInThai) {
    const LanguageScope thai(gui::Language::Thai);
    ASSERT_EQ(gui::InstalledLanguage(), gui::Language::Thai) << "the Thai translation did not load";
    for (const auto& [window, texts] : walkEveryWindow()) {
        SCOPED_TRACE(window.toStdString());
        EXPECT_FALSE(texts.isEmpty());
        QStringList english;
        for (const QString& text : texts) {
            if (!englishWords(text).isEmpty()) {
                english << text + " <" + englishWords(text).join(' ') + ">";
            }
        }
        EXPECT_TRUE(english.isEmpty()) << english.join("\n").toStdString();
    }
}

TEST(ThaiInterface, SwitchingBackShowsEveryEnglishTextAsBefore) {
    const auto before = walkEveryWindow();
    {
        const LanguageScope thai(gui::Language::Thai);
        const auto inThai = walkEveryWindow();
        ASSERT_EQ(inThai.size(), before.size());
        EXPECT_NE(inThai.front().second, before.front().second);
    }
    ASSERT_EQ(gui::InstalledLanguage(), gui::Language::English);
    EXPECT_EQ(walkEveryWindow(), before);
}

TEST(ThaiInterface, CommandMessagesShowThaiWithTheEnglishOriginalBeneath) {
    const LanguageScope thai(gui::Language::Thai);
    GuiFixture f;
    f.choose(Choice::DirectCredit);
    f.press(C::reformat);
    ASSERT_FALSE(f.messages.empty());
    const QString shown = f.messages.back().second;
    const QStringList lines = shown.split('\n');
    ASSERT_GE(lines.size(), 3) << shown.toStdString();
    EXPECT_TRUE(englishWords(lines.front()).isEmpty()) << shown.toStdString();
    // The last line is the message exactly as the command gave it, as the command line prints it.
    EXPECT_EQ(lines.back(), "Please insert company id");
    EXPECT_EQ(lines.front(), QString::fromUtf8("กรุณาใส่รหัสประจำตัวบริษัท"));
}

TEST(ThaiInterface, ReportsShowTheThaiCopyOfTheirLayoutWithTheSameData) {
    QString english;
    {
        GuiFixture f;
        runDirectCreditWithMistakes(f);
        ASSERT_FALSE(f.reports.empty());
        english = f.reports.back().second;
    }
    const LanguageScope thai(gui::Language::Thai);
    GuiFixture f;
    runDirectCreditWithMistakes(f);
    ASSERT_FALSE(f.reports.empty());
    const auto& [report, html] = f.reports.back();
    EXPECT_EQ(report.layoutFile, "rptResult.frf");  // named as before: only the headings change
    EXPECT_TRUE(english.contains("Reformat Result Report"));
    EXPECT_TRUE(html.contains(QString::fromUtf8("รายงานผลการแปลงรูปแบบข้อมูล")));
    EXPECT_FALSE(html.contains("Reformat Result Report"));
    EXPECT_TRUE(html.contains(QString::fromUtf8("ชื่อบริษัท :")));  // the company's caption too
    EXPECT_FALSE(html.contains("Company Name"));
    // The same values in both: the company, the counts, the total and the hash value.
    int compared = 0;
    for (const auto& [name, value] : report.variables) {
        if (name == "ComId" || name == "HashCode" || name == "PayType") {
            const QString shown = QString::fromStdString(value).remove('"').toHtmlEscaped();
            EXPECT_TRUE(html.contains(shown)) << name << " " << value;
            EXPECT_TRUE(english.contains(shown)) << name << " " << value;
            ++compared;
        }
    }
    EXPECT_EQ(compared, 3);
}

// A report opened from a run as the window opens it (its rows copied on the run's thread, a preview of
// its own) shows the Thai copy of its layout in the Thai window.
TEST(ThaiInterface, AReportOpenedFromARunIsInThai) {
    const LanguageScope thai(gui::Language::Thai);
    GuiFixture f;
    f.main().ui().hooks().report = nullptr;
    runDirectCreditWithMistakes(f);
    gui::ReportPreview* preview = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* shown = qobject_cast<gui::ReportPreview*>(w); shown != nullptr && shown->isVisible()) {
            preview = shown;
        }
    }
    ASSERT_NE(preview, nullptr);
    preview->waitUntilReady();
    const QString text = preview->document()->toPlainText();
    EXPECT_TRUE(text.contains(QString::fromUtf8("รายงานผลการแปลงรูปแบบข้อมูล"))) << text.toStdString();
    EXPECT_FALSE(text.contains("Reformat Result Report"));
    preview->close();
}

// The Thai letters of a list of texts; the Language menu names Thai in its own words.
QStringList thaiTexts(const QStringList& texts) {
    static const QRegularExpression thaiLetter(QStringLiteral("[\\x{0E00}-\\x{0E7F}]"));
    QStringList found;
    for (const QString& text : texts) {
        if (text.contains(thaiLetter) && text != QString::fromUtf8("ไทย")) {
            found << text;
        }
    }
    return found;
}

// The bank window's delete question for its first bank, as the person is asked it.
QString deleteQuestion(GuiFixture& f) {
    gui::BankWindow* bank = gui::BankWindow::open(f.main().mdiArea(), f.main().store(), f.main().ui());
    bank->panel()->grid()->setCurrentCell(0, 0);
    f.questionAnswer = false;
    f.messages.clear();
    QTest::keyClick(bank->panel()->grid(), Qt::Key_F3);
    bank->close();
    return f.messages.empty() ? QString() : f.messages.back().second;
}

// One language per window and dialog: the English window shows no Thai (the account dialog's captions,
// the bank window's hints and its delete question included); in Thai a question is asked once, in Thai.
TEST(ThaiInterface, EachWindowAndQuestionIsInOneLanguage) {
    for (const auto& [window, texts] : walkEveryWindow()) {
        EXPECT_TRUE(thaiTexts(texts).isEmpty())
            << window.toStdString() << ": " << thaiTexts(texts).join(" | ").toStdString();
    }
    {
        GuiFixture f;
        const QString question = deleteQuestion(f);
        EXPECT_TRUE(question.startsWith("Delete this row?")) << question.toStdString();
        EXPECT_TRUE(thaiTexts({question.section(QLatin1Char('\n'), 0, 0)}).isEmpty());
    }
    const LanguageScope thai(gui::Language::Thai);
    GuiFixture f;
    const QString question = deleteQuestion(f);
    EXPECT_EQ(question.count(QString::fromUtf8("ยืนยันการลบข้อมูล")), 1) << question.toStdString();
    EXPECT_FALSE(question.contains("Bank Code")) << question.toStdString();
    // The switch warning after a clean hash check: Thai alone.
    f.choose(Choice::DirectDebitHash);
    f.type(C::source, f.example("direct-debit-hash.txt"));
    f.press(C::generateHash);
    ASSERT_FALSE(f.control<QLineEdit>(C::hashValue)->text().isEmpty());
    f.messages.clear();
    f.choose(Choice::DirectCredit);
    ASSERT_FALSE(f.messages.empty());
    EXPECT_TRUE(englishWords(f.messages.front().second).isEmpty()) << f.messages.front().second.toStdString();
}

TEST(ThaiInterface, BuiltTextsAreTranslatedPartByPart) {
    const LanguageScope thai(gui::Language::Thai);
    const QString thaiSummary = gui::ShownText("Rejected: 3 entries on 2 lines");
    EXPECT_EQ(thaiSummary, QString::fromUtf8("ถูกปฏิเสธ: 3 รายการ ใน 2 บรรทัด"));
    EXPECT_EQ(gui::ShownText("    Invalid credit account: 2 (last at line 14)"),
              QString::fromUtf8("    บัญชีที่รับเงินไม่ถูกต้อง: 2 (ล่าสุดที่บรรทัด 14)"));
    // A path keeps its words, colons included.
    EXPECT_EQ(gui::ShownText("Upload file: /tmp/Company: A/out.txt"),
              QString::fromUtf8("ไฟล์อัปโหลด: /tmp/Company: A/out.txt"));
    // The field's pattern wins over the bare "*" of a hint.
    EXPECT_EQ(gui::ShownText("* Please Input Bank Code , Bank Name Thai"),
              QString::fromUtf8("* กรุณาใส่ รหัสธนาคาร , ชื่อธนาคารภาษาไทย"));
    // Each line of a question on its own.
    EXPECT_EQ(gui::ShownText("Bank Code : 002\nRegion Code : 10"),
              QString::fromUtf8("รหัสธนาคาร : 002\nรหัสภาค : 10"));
    // A return file's difference: the system's words, then the place in both files.
    EXPECT_EQ(
        gui::ShownText("Total Amount is not match. Sent file line 3: account 2222222228, amount 1,250.50. "
                       "Return file line 3: account 2222222228, amount 1,250.00."),
        QString::fromUtf8("ยอดเงินรวมไม่ตรงกัน ไฟล์ที่ส่ง บรรทัด 3: บัญชี 2222222228 จำนวนเงิน 1,250.50 / "
                          "ไฟล์จาก V5 บรรทัด 3: บัญชี 2222222228 จำนวนเงิน 1,250.00"));
    EXPECT_EQ(gui::ShownText(" Record is not match. Sent file: record count 3, total 4,500.00 baht. Return "
                             "file: no trailer record."),
              QString::fromUtf8(" จำนวนรายการไม่ตรงกัน ไฟล์ที่ส่ง: จำนวนรายการ 3 ยอดรวม 4,500.00 บาท / "
                                "ไฟล์จาก V5: ไม่มีรายการท้ายไฟล์"));
    // A text it does not know stays as it is, and so does a message without a translation.
    EXPECT_EQ(gui::ShownText("Cannot read \"x.txt\": no such file"), "Cannot read \"x.txt\": no such file");
    EXPECT_EQ(gui::ShownMessage("Cannot read \"x.txt\""), "Cannot read \"x.txt\"");
}

TEST(ThaiInterface, EveryCaptionOfTheWorkbenchTablesHasItsThai) {
    const LanguageScope thai(gui::Language::Thai);
    std::set<std::string> captions;
    for (const auto& [control, view] : initialControlStates()) {
        if (control != Control::mediaDetailReport) {  // always hidden, captioned by its name
            captions.insert(view.caption);
        }
    }
    for (const ControlSet kind :
         {ControlSet::Credit, ControlSet::MediaClearing, ControlSet::Cheque, ControlSet::DirectDebit100M,
          ControlSet::Hash, ControlSet::ReturnFile, ControlSet::Convert}) {
        for (const ControlChange& e : controlChanges(kind)) {
            if (e.caption) {
                captions.insert(*e.caption);
            }
        }
    }
    for (const ChoiceInfo& info : choices()) {
        captions.insert(info.caption);
    }
    for (const ProcessingRoundInfo& r : processingRounds()) {
        captions.insert(std::string(r.caption));
    }
    captions.erase("");
    for (const std::string& caption : captions) {
        EXPECT_NE(gui::ShownText(caption), QString::fromStdString(caption)) << caption;
    }
}

TEST(ThaiInterface, TheChoiceIsRememberedAndTheFirstStartFollowsTheSystem) {
    TempDir dir;
    const QString file = QString::fromStdString((dir / "settings.ini").string());
    gui::RememberedWork remembered(file);
    const gui::Language system =
        QLocale::system().language() == QLocale::Thai ? gui::Language::Thai : gui::Language::English;
    EXPECT_EQ(gui::ChosenLanguage(remembered), system);
    remembered.setLanguage(gui::LanguageCode(gui::Language::Thai));
    EXPECT_EQ(gui::ChosenLanguage(gui::RememberedWork(file)), gui::Language::Thai);
    remembered.setLanguage(QStringLiteral("xx"));  // a value of no language: the system's again
    EXPECT_EQ(gui::ChosenLanguage(gui::RememberedWork(file)), system);
}

TEST(ThaiInterface, TheLanguageMenuKeepsTheChoiceForTheNextStart) {
    GuiFixture f;
    auto* thaiAction = f.main().findChild<QAction*>(QStringLiteral("actThai"));
    ASSERT_NE(thaiAction, nullptr);
    EXPECT_FALSE(thaiAction->isChecked());
    thaiAction->trigger();
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages.back().second.contains(QString::fromUtf8("ครั้งถัดไป")));
    EXPECT_EQ(gui::ChosenLanguage(f.main().remembered()), gui::Language::Thai);
    // The windows keep their language until the next start.
    EXPECT_EQ(gui::InstalledLanguage(), gui::Language::English);
    f.main().findChild<QAction*>(QStringLiteral("actEnglish"))->trigger();
    EXPECT_EQ(gui::ChosenLanguage(f.main().remembered()), gui::Language::English);
    EXPECT_EQ(f.messages.size(), 1u);  // back to the language shown: nothing to tell
}

TEST(ThaiInterface, ThaiTextGetsAFontWithThaiGlyphs) {
    const QFont before = QApplication::font();
    {
        const LanguageScope thai(gui::Language::Thai);
        const QStringList families = QApplication::font().families();
        ASSERT_FALSE(families.isEmpty());
        EXPECT_TRUE(QFontDatabase::writingSystems(families.front()).contains(QFontDatabase::Thai))
            << families.front().toStdString();
    }
    EXPECT_EQ(QApplication::font(), before);
}

}  // namespace
}  // namespace qrv::test
