#include "ui/QtMessageBox.h"

#include <memory>
#include <vector>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTimer>

namespace orvan {

namespace {

QMessageBox::Icon IconOf(int32_t style) {
    switch (style & 0x70) {
    case MsgIconCritical:
        return QMessageBox::Critical;
    case MsgIconQuestion:
        return QMessageBox::Question;
    case MsgIconExclamation:
        return QMessageBox::Warning;
    case MsgIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonCode {
    QMessageBox::StandardButton button;
    int32_t code;
};

// The buttons of a set in the order they stand in the box.
std::vector<ButtonCode> ButtonsOf(int32_t style) {
    switch (style & 7) {
    case MsgButtonsOKCancel:
        return {{QMessageBox::Ok, MsgResultOK}, {QMessageBox::Cancel, MsgResultCancel}};
    case MsgButtonsAbortRetryIgnore:
        return {{QMessageBox::Abort, MsgResultAbort},
                {QMessageBox::Retry, MsgResultRetry},
                {QMessageBox::Ignore, MsgResultIgnore}};
    case MsgButtonsYesNoCancel:
        return {{QMessageBox::Yes, MsgResultYes},
                {QMessageBox::No, MsgResultNo},
                {QMessageBox::Cancel, MsgResultCancel}};
    case MsgButtonsYesNo:
        return {{QMessageBox::Yes, MsgResultYes}, {QMessageBox::No, MsgResultNo}};
    case MsgButtonsRetryCancel:
        return {{QMessageBox::Retry, MsgResultRetry}, {QMessageBox::Cancel, MsgResultCancel}};
    default:
        return {{QMessageBox::Ok, MsgResultOK}};
    }
}

// Message texts carry CR LF line ends; the box wants plain line feeds.
QString DisplayText(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

} // namespace

namespace {

// Sets up the box for the style, title and text; returns the buttons.
std::vector<ButtonCode> Configure(QMessageBox& box, int32_t style, const std::string& title,
                                  const std::string& text) {
    const std::vector<ButtonCode> buttons = ButtonsOf(style);
    box.setIcon(IconOf(style));
    box.setWindowTitle(QString::fromStdString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(DisplayText(text));
    QMessageBox::StandardButtons set;
    for (const ButtonCode& b : buttons) {
        set |= b.button;
    }
    box.setStandardButtons(set);
    size_t defaultIndex = static_cast<size_t>((style >> 8) & 3);
    if (defaultIndex >= buttons.size()) {
        defaultIndex = 0;
    }
    box.setDefaultButton(buttons[defaultIndex].button);
    // Escape answers Cancel where the set has one and OK for OK alone;
    // otherwise Qt picks (No for a Yes/No question).
    for (const ButtonCode& b : buttons) {
        if (b.code == MsgResultCancel || (buttons.size() == 1 && b.code == MsgResultOK)) {
            box.setEscapeButton(b.button);
        }
    }
    return buttons;
}

int g_confirmationInterval = 4000;

// While a confirmation shows: the first digit typed to the box or one of
// its buttons closes it and is kept.
class DigitCloses : public QObject {
public:
    explicit DigitCloses(QMessageBox& box) : m_box(box) {}
    const std::string& Typed() const { return m_typed; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* widget = qobject_cast<QWidget*>(watched);
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (widget != nullptr && (widget == &m_box || m_box.isAncestorOf(widget)) &&
                text.size() == 1 && text.at(0).isDigit() && text.at(0).unicode() < 128) {
                m_typed = text.toStdString();
                m_box.done(0);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QMessageBox& m_box;
    std::string m_typed;
};

} // namespace

int ConfirmationInterval() {
    return g_confirmationInterval;
}

void SetConfirmationInterval(int milliseconds) {
    g_confirmationInterval = milliseconds;
}

std::string QtMessageBox::ShowConfirmation(int32_t style, const std::string& title,
                                           const std::string& text) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return {};
    }
    QMessageBox box(QApplication::activeWindow());
    Configure(box, style, title, text);
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &box, [&box] { box.done(0); });
    DigitCloses digits(box);
    qApp->installEventFilter(&digits);
    timer.start(g_confirmationInterval);
    box.exec();
    qApp->removeEventFilter(&digits);
    return digits.Typed();
}

int32_t QtMessageBox::Show(int32_t style, const std::string& title, const std::string& text) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        // No window system to show anything on: the first button answers.
        return ButtonsOf(style).front().code;
    }
    QMessageBox box(QApplication::activeWindow());
    const std::vector<ButtonCode> buttons = Configure(box, style, title, text);
    box.exec();
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const ButtonCode& b : buttons) {
        if (b.button == pressed) {
            return b.code;
        }
    }
    // Closed without a button of the set (only possible when the window
    // system forces it): count it as the escape answer, else the first one.
    for (const ButtonCode& b : buttons) {
        if (b.code == MsgResultCancel) {
            return b.code;
        }
    }
    return buttons.front().code;
}

void QtMessageBox::ResetMousePointer() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    while (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void InstallQtMessageBox() {
    SetMessageBox(std::make_shared<QtMessageBox>());
}

} // namespace orvan
