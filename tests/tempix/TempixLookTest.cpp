#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include "support_qt/ScopedNow.h"
#include "tempix/TPProperties.h"
#include "tempix/TempixTB.h"
#include "ui_FTempixDemo.h"

namespace tempix {
namespace {

// Shows a form with a date box and a time box as a user leaves it. Set
// TEMPIX_SCREENSHOT to a file name to keep a picture of it (run under a real
// display or Xvfb to see real fonts and frames).
TEST(TempixLook, AFormWithADateAndATimeBox) {
    orvan::test::ScopedNow clock(DateValue::FromParts(2003, 3, 3, 10, 15, 20));
    QDialog dialog;
    Ui::FTempixDemo form;
    form.setupUi(&dialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    QTest::keyClicks(form.tptbStartDate->TPText(), QStringLiteral("5"));
    QTest::keyClick(form.tptbStartDate->TPText(), Qt::Key_Tab);
    form.tptbStartDate->SetText("5");
    QTest::keyClicks(form.tptbStartTime->TPText(), QStringLiteral("930 pm"));
    QTest::keyClick(form.tptbStartTime->TPText(), Qt::Key_Return);
    EXPECT_EQ(form.tptbStartDate->Text(), "03/05/2003");
    EXPECT_EQ(form.tptbStartTime->Text(), "09:30 PM");
    form.tptbStartTime->setFocus();
    QTest::qWait(50);

    // Each box is a text box filling the control but for a thin inset, as
    // high as a plain text box would be in its place.
    for (TempixTB* box : {form.tptbStartDate, form.tptbStartTime}) {
        const QRect inner = box->TPText()->geometry();
        EXPECT_GT(inner.width(), box->width() - 10);
        EXPECT_GT(inner.height(), box->height() - 10);
        EXPECT_GE(inner.height(), QLineEdit().sizeHint().height());
        EXPECT_TRUE(box->TPText()->isVisible());
    }
    const QPixmap picture = dialog.grab();
    ASSERT_FALSE(picture.isNull());
    const QByteArray path = qgetenv("TEMPIX_SCREENSHOT");
    if (!path.isEmpty()) {
        EXPECT_TRUE(picture.save(QString::fromLocal8Bit(path)));
    }
}

// The property page of a time box; TEMPIX_PAGE_SCREENSHOT keeps a picture.
TEST(TempixLook, ThePropertyPage) {
    TempixTB box;
    box.SetDataType("Time");
    box.SetTimeFormat("hh:mm AM/PM");
    TPProperties page;
    page.SetSelectedControls({&box});
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    const QPixmap picture = page.grab();
    ASSERT_FALSE(picture.isNull());
    const QByteArray path = qgetenv("TEMPIX_PAGE_SCREENSHOT");
    if (!path.isEmpty()) {
        EXPECT_TRUE(picture.save(QString::fromLocal8Bit(path)));
    }
}

} // namespace
} // namespace tempix
