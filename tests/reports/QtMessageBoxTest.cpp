#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "storage/CError.h"
#include "storage/MessageBox.h"
#include "ui/QtMessageBox.h"

namespace orvan {
namespace {

// What the box looked like, captured while it was open.
struct SeenBox {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool seen = false;
};

// Answers the next message box by pressing `press`, after recording it.
void AnswerNextBox(SeenBox& seen, QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen.seen = true;
        seen.icon = box->icon();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        box->button(press)->click();
    });
}

TEST(QtMessageBoxTest, ShowsIconTitleTextAndButtonsAndReturnsThePressedCode) {
    QtMessageBox messageBox;
    SeenBox seen;
    AnswerNextBox(seen, QMessageBox::No);
    EXPECT_EQ(messageBox.Show(MsgIconQuestion + MsgButtonsYesNo, "Delete Record",
                              "Delete this record?\r\nIt cannot be undone."),
              MsgResultNo);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.title, QStringLiteral("Delete Record"));
    EXPECT_EQ(seen.text, QStringLiteral("Delete this record?\nIt cannot be undone."));
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Yes);
}

TEST(QtMessageBoxTest, MapsEveryIconAndButtonSet) {
    QtMessageBox messageBox;
    struct Case {
        int32_t style;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton press;
        int32_t code;
    };
    const Case cases[] = {
        {MsgIconCritical, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, MsgResultOK},
        {MsgIconExclamation + MsgButtonsOKCancel, QMessageBox::Warning,
         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, MsgResultCancel},
        {MsgIconInformation + MsgButtonsAbortRetryIgnore, QMessageBox::Information,
         QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Ignore,
         MsgResultIgnore},
        {MsgIconNone + MsgButtonsYesNoCancel, QMessageBox::NoIcon,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, MsgResultYes},
        {MsgIconCritical + MsgButtonsRetryCancel, QMessageBox::Critical,
         QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry, MsgResultRetry},
    };
    for (const Case& c : cases) {
        SeenBox seen;
        AnswerNextBox(seen, c.press);
        EXPECT_EQ(messageBox.Show(c.style, "t", "x"), c.code) << c.style;
        EXPECT_EQ(seen.icon, c.icon) << c.style;
        EXPECT_EQ(seen.buttons, c.buttons) << c.style;
    }
}

TEST(QtMessageBoxTest, SecondButtonCanBeTheDefault) {
    QtMessageBox messageBox;
    SeenBox seen;
    AnswerNextBox(seen, QMessageBox::Yes);
    EXPECT_EQ(messageBox.Show(MsgIconQuestion + MsgButtonsYesNo + 256, "q", "?"), MsgResultYes);
    EXPECT_EQ(seen.defaultButton, QMessageBox::No);
}

TEST(QtMessageBoxTest, ErrorObjectShowsItselfThroughTheQtBox) {
    InstallQtMessageBox();
    SeenBox seen;
    AnswerNextBox(seen, QMessageBox::Ok);
    CError error(91, "Object variable not set");
    EXPECT_EQ(error.MessageBox(MsgIconCritical, MsgButtonsOK), MsgResultOK);
    EXPECT_EQ(error.MsgBoxRetVal(), MsgResultOK);
    SetMessageBox(nullptr);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.title, QStringLiteral("Error Number: 91"));
    EXPECT_EQ(seen.text, QString::fromStdString(error.MessageText())
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(seen.text.startsWith(QStringLiteral("The following error ocurred in module ")));
}

} // namespace
} // namespace orvan
