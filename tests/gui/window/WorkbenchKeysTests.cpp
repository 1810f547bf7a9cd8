#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>

#include "gui/GuiFixture.h"

// The workbench's keys as a quick typist presses them.
namespace qrv::test {
namespace {

using C = Control;

// Alt+P and Enter at once: the run reads the tick that Alt+P gives, though the box takes it a moment
// after the key (its button shows pressed first); the detail report opens and the box stays ticked.
TEST(WorkbenchKeys, AltPThenEnterAtOnceRunsWithPrintDetail) {
    GuiFixture f;
    f.choose(Choice::DirectCredit);
    f.type(C::companyId, QStringLiteral("ACME01"));
    f.type(C::debitAccount, QStringLiteral("1234567896"));
    f.type(C::feeAccount, QStringLiteral("1234567896"));
    f.type(C::source, f.example("direct-credit.txt"));
    f.type(C::destination, f.dir / "upload.txt");
    auto* print = f.control<QCheckBox>(C::printDetail);
    ASSERT_FALSE(print->isChecked());
    f.control(C::destination)->setFocus();
    QTest::keyClick(f.control(C::destination), Qt::Key_P, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // The run starts once the tick is given.
    QTRY_VERIFY_WITH_TIMEOUT(f.workbench().busy() || !f.reports.empty(), 10000);
    f.workbench().waitForRun();
    ASSERT_FALSE(f.reports.empty());
    EXPECT_EQ(f.reports.back().first.layoutFile, "rptDcpDetail.frf");
    EXPECT_TRUE(print->isChecked());
    EXPECT_TRUE(f.model().fields.printDetail);
}

}  // namespace
}  // namespace qrv::test
