#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QMetaObject>
#include <QPushButton>
#include <QTest>

#include "TempixTestSupport.h"
#include "support_qt/ScopedNow.h"
#include "tempix/CTempix.h"
#include "tempix/PropertyBag.h"
#include "tempix/ScreenPointer.h"
#include "tempix/TempixTB.h"
#include "ui_FTempixDemo.h"

namespace tempix {
namespace {

using orvan::test::ScopedNow;
using test::ControlEvents;

const std::string kRangeEvent = "TempixRangeError:Error Type: Tempix Range\r\nError Description: "
                                "The Tempix entry has an invalid range.";
const std::string kFormatEvent = "TempixFormatError:Error Type: Tempix Format\r\nError "
                                 "Description: The Tempix entry is in an invalid format.";

void Type(TempixTB& box, const char* text) {
    box.TPText()->clear();
    QTest::keyClicks(box.TPText(), QString::fromUtf8(text));
}

void PressEnter(TempixTB& box) {
    QTest::keyClick(box.TPText(), Qt::Key_Return);
}

// Leaving the box for another control of the same window.
void Leave(TempixTB& box) {
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box.TPText(), &event);
}

std::string Shown(const TempixTB& box) {
    return box.TPText()->text().toStdString();
}

class TempixBox : public ::testing::Test {
protected:
    ScopedNow m_clock{DateValue::FromParts(2003, 3, 3, 10, 15, 20)};
    TempixTB m_date;
    TempixTB m_time;
    ControlEvents m_dateEvents{m_date};
    ControlEvents m_timeEvents{m_time};

    void SetUp() override {
        m_time.SetDataType("Time");
        m_time.SetTimeFormat("hh:mm AM/PM");
        m_dateEvents.Clear();
        m_timeEvents.Clear();
    }
};

TEST_F(TempixBox, StartsAsANewlyPlacedControl) {
    TempixTB box;
    EXPECT_EQ(box.DataType(), "Date");
    EXPECT_EQ(box.DateFormat(), "mm/dd/yyyy");
    EXPECT_EQ(box.DateSeparator(), "/");
    EXPECT_EQ(box.TimeFormat(), "hh:mm:ss");
    EXPECT_EQ(box.TimeSeparator(), ":");
    EXPECT_EQ(box.Text(), "");
    EXPECT_EQ(box.Version(), "2.0.1");
    EXPECT_FALSE(box.FocusFlag());
    EXPECT_TRUE(box.Enabled());
    EXPECT_FALSE(box.Locked());
    EXPECT_EQ(box.MousePointer(), 0);
    EXPECT_EQ(box.Alignment(), 0);
    EXPECT_EQ(box.BackColor(), static_cast<int32_t>(0x80000005u));
    EXPECT_EQ(box.ForeColor(), static_cast<int32_t>(0x80000008u));
    ASSERT_NE(box.TPText(), nullptr);
    EXPECT_EQ(box.TPText()->objectName(), QStringLiteral("TPText"));
    EXPECT_EQ(box.findChild<QLineEdit*>(QStringLiteral("TPText")), box.TPText());
    ASSERT_NE(box.TPRules(), nullptr);
    EXPECT_EQ(box.TPRules()->objectName(), QStringLiteral("TPRules"));
    box.TPText()->setAlignment(Qt::AlignRight);
    EXPECT_EQ(box.Alignment(), 1);
    box.TPText()->setAlignment(Qt::AlignHCenter);
    EXPECT_EQ(box.Alignment(), 2);
}

TEST_F(TempixBox, OffersItsMembersThroughTheMetaObject) {
    const QMetaObject* meta = m_date.metaObject();
    EXPECT_STREQ(meta->className(), "tempix::TempixTB");
    EXPECT_STREQ(meta->classInfo(meta->indexOfClassInfo("ClassId")).value(),
                 "TempixTextBox.TempixTB");
    EXPECT_STREQ(TempixTB::ClassId, "TempixTextBox.TempixTB");

    std::vector<std::string> properties;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        properties.emplace_back(meta->property(i).name());
    }
    EXPECT_EQ(properties,
              (std::vector<std::string>{"hWnd", "Alignment", "Enabled", "BackColor", "ForeColor",
                                        "Font", "Locked", "MousePointer", "FocusFlag", "Version",
                                        "DataType", "DateFormat", "TimeFormat", "DateSeparator",
                                        "TimeSeparator", "Text"}));
    EXPECT_STREQ(meta->userProperty().name(), "Text");

    std::vector<std::string> signalNames;
    std::vector<std::string> invokables;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal) {
            signalNames.push_back(method.methodSignature().toStdString());
        } else if (method.methodType() == QMetaMethod::Method) {
            invokables.push_back(method.name().toStdString());
        }
    }
    ASSERT_GE(signalNames.size(), 5u);
    EXPECT_EQ(
        std::vector<std::string>(signalNames.begin(), signalNames.begin() + 5),
        (std::vector<std::string>{"KeyPress(int16_t)", "RuleInitError(std::string)",
                                  "TempixFormatError(std::string)", "TempixRangeError(std::string)",
                                  "UpdateText(std::string)"}));
    EXPECT_EQ(invokables,
              (std::vector<std::string>{"SetMousepointer", "ResetText", "GenerateDateValue",
                                        "GenerateTimeValue", "SetSystemTempixFormats"}));

    // Hosts that only know names reach the same members.
    EXPECT_TRUE(m_date.setProperty("DataType", QStringLiteral("Time")));
    EXPECT_EQ(m_date.DataType(), "Time");
    EXPECT_TRUE(m_date.setProperty("Text", QStringLiteral("930")));
    EXPECT_EQ(m_date.property("Text").toString(), QStringLiteral("09:30:00"));
    EXPECT_EQ(m_date.property("Version").toString(), QStringLiteral("2.0.1"));
    std::string result;
    EXPECT_TRUE(QMetaObject::invokeMethod(&m_date, "GenerateDateValue",
                                          Q_RETURN_ARG(std::string, result),
                                          Q_ARG(std::string, std::string("1225"))));
    EXPECT_EQ(result, "12/25/2003");
}

TEST_F(TempixBox, EnterExpandsAShortDate) {
    Type(m_date, "5");
    PressEnter(m_date);
    EXPECT_EQ(Shown(m_date), "03/05/2003");
    EXPECT_EQ(m_date.Text(), "03/05/2003");
    EXPECT_EQ(m_dateEvents.Events(), std::vector<std::string>{"UpdateText:03/05/2003"});

    m_dateEvents.Clear();
    for (const auto& [entry, shown] : std::vector<std::pair<const char*, const char*>>{
             {"1225", "12/25/2003"}, {"122503", "12/25/2003"}, {"1/5/03", "01/05/2003"}}) {
        Type(m_date, entry);
        PressEnter(m_date);
        EXPECT_EQ(Shown(m_date), shown) << entry;
    }
    EXPECT_EQ(m_dateEvents.Events(),
              (std::vector<std::string>{"UpdateText:12/25/2003", "UpdateText:12/25/2003",
                                        "UpdateText:01/05/2003"}));
}

TEST_F(TempixBox, ABadDateStaysAsTypedAndIsReportedOnce) {
    Type(m_date, "1332");
    Leave(m_date);
    EXPECT_EQ(Shown(m_date), "1332");
    EXPECT_EQ(m_date.Text(), "1332");
    EXPECT_EQ(m_dateEvents.Events(), std::vector<std::string>{kRangeEvent});
}

TEST_F(TempixBox, EnterExpandsShortTimes) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"9", "09:00 AM"}, {"930 pm", "09:30 PM"}, {"1745", "05:45 PM"}, {"9:5 pm", "09:05 PM"}};
    for (const auto& [entry, shown] : cases) {
        m_timeEvents.Clear();
        Type(m_time, entry);
        PressEnter(m_time);
        EXPECT_EQ(Shown(m_time), shown) << entry;
        EXPECT_EQ(m_time.Text(), shown) << entry;
        EXPECT_EQ(m_timeEvents.Events(),
                  std::vector<std::string>{std::string("UpdateText:") + shown})
            << entry;
    }
}

TEST_F(TempixBox, LeavingABadTimeReportsItWithTwoLines) {
    Type(m_time, "2561");
    Leave(m_time);
    EXPECT_EQ(Shown(m_time), "2561");
    EXPECT_EQ(m_time.Text(), "2561");
    EXPECT_EQ(m_timeEvents.Events(), std::vector<std::string>{kRangeEvent});

    m_timeEvents.Clear();
    Type(m_time, "abc");
    PressEnter(m_time);
    EXPECT_EQ(Shown(m_time), "abc");
    EXPECT_EQ(m_timeEvents.Events(), std::vector<std::string>{kFormatEvent});

    m_time.SetTimeFormat("hh:mm:ss AM/PM");
    m_timeEvents.Clear();
    Type(m_time, "99:99:99");
    PressEnter(m_time);
    Type(m_time, "12:34:56");
    PressEnter(m_time);
    Type(m_time, "10x");
    Leave(m_time);
    EXPECT_EQ(m_timeEvents.Events(),
              (std::vector<std::string>{kRangeEvent, "UpdateText:12:34:56 PM",
                                        "UpdateText:10:00:00 AM"}));
}

TEST_F(TempixBox, BlankEntriesAreNotChecked) {
    Type(m_date, "   ");
    Leave(m_date);
    PressEnter(m_date);
    Type(m_time, "");
    Leave(m_time);
    EXPECT_TRUE(m_dateEvents.Events().empty());
    EXPECT_TRUE(m_timeEvents.Events().empty());
    // Only blanks count as blank: other white space is an entry.
    m_date.TPText()->setText(QStringLiteral("\t"));
    Leave(m_date);
    EXPECT_EQ(m_dateEvents.Events(), std::vector<std::string>{kRangeEvent});
}

TEST_F(TempixBox, OtherKeysAndFocusChangesDoNotCheck) {
    Type(m_date, "5");
    QTest::keyClick(m_date.TPText(), Qt::Key_Tab);
    QFocusEvent windowChange(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(m_date.TPText(), &windowChange);
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(m_date.TPText(), &popup);
    EXPECT_TRUE(m_dateEvents.Events().empty());
    EXPECT_EQ(Shown(m_date), "5");
    QTest::keyClick(m_date.TPText(), Qt::Key_Enter); // the keypad's Enter
    EXPECT_EQ(m_dateEvents.Events(), std::vector<std::string>{"UpdateText:03/05/2003"});
}

TEST_F(TempixBox, ClosingAWindowWithAFocusedBoxIsQuiet) {
    int events = 0;
    {
        auto window = std::make_unique<QWidget>();
        auto* box = new TempixTB(window.get());
        QObject::connect(box, &TempixTB::TempixRangeError, [&]() { ++events; });
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        box->setFocus();
        QTest::keyClicks(box->TPText(), QStringLiteral("2561"));
        ASSERT_TRUE(box->TPText()->hasFocus());
    }
    EXPECT_EQ(events, 0);
}

TEST_F(TempixBox, EnterStillReachesTheWindow) {
    QDialog dialog;
    auto* box = new TempixTB(&dialog);
    auto* save = new QPushButton(QStringLiteral("Save"), &dialog);
    save->setDefault(true);
    std::string seenBySave;
    QObject::connect(save, &QPushButton::clicked, [&]() { seenBySave = box->Text(); });
    int returns = 0;
    QObject::connect(box->TPText(), &QLineEdit::returnPressed, [&]() { ++returns; });
    dialog.show();
    box->setFocus();
    Type(*box, "1225");
    PressEnter(*box);
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(seenBySave, "12/25/2003");
}

TEST_F(TempixBox, SettingTextChecksIt) {
    m_date.SetText("704");
    EXPECT_EQ(Shown(m_date), "");
    EXPECT_EQ(m_date.Text(), "");
    m_date.SetText("0704");
    EXPECT_EQ(Shown(m_date), "07/04/2003");
    EXPECT_EQ(m_date.Text(), "07/04/2003");
    // A rejected value leaves the box as it was; Text gives the raw value.
    m_date.SetText("13/45/2003");
    EXPECT_EQ(Shown(m_date), "07/04/2003");
    EXPECT_EQ(m_date.Text(), "13/45/2003");
    EXPECT_EQ(m_dateEvents.Events(),
              (std::vector<std::string>{kRangeEvent, "UpdateText:07/04/2003", kRangeEvent}));

    // The default text of a date-time value, as hosts put times in.
    m_time.SetText("8:00:00 AM");
    EXPECT_EQ(m_time.Text(), "08:00 AM");
    m_time.SetText("5:00:00 PM");
    EXPECT_EQ(Shown(m_time), "05:00 PM");
}

TEST_F(TempixBox, EmptyTextAndResetText) {
    m_date.SetText("5");
    m_dateEvents.Clear();
    m_date.SetText("");
    EXPECT_EQ(Shown(m_date), "");
    EXPECT_EQ(m_date.Text(), "");
    EXPECT_EQ(m_date.TPRules()->Text(), "");
    EXPECT_TRUE(m_dateEvents.Events().empty());

    m_date.SetText("5");
    m_date.ResetText();
    EXPECT_EQ(Shown(m_date), "");
    EXPECT_EQ(m_date.Text(), "");
    // The rule base keeps its text; the next entry replaces it.
    EXPECT_EQ(m_date.TPRules()->Text(), "03/05/2003");
}

TEST_F(TempixBox, SeparatorsFollowTheLastEntry) {
    Type(m_date, "1.5.03");
    PressEnter(m_date);
    EXPECT_EQ(m_date.DateSeparator(), ".");
    EXPECT_EQ(Shown(m_date), "01/05/2003");
    Type(m_date, "1225");
    PressEnter(m_date);
    EXPECT_EQ(m_date.DateSeparator(), "/");
    Type(m_date, "1-5-03");
    PressEnter(m_date);
    EXPECT_EQ(m_date.DateSeparator(), "-");
    Type(m_time, "9.30");
    PressEnter(m_time);
    EXPECT_EQ(m_time.TimeSeparator(), ".");
    Type(m_time, "930");
    PressEnter(m_time);
    EXPECT_EQ(m_time.TimeSeparator(), ":");
    // Reading the stored properties sets them back.
    m_date.ReadProperties(PropertyBag());
    EXPECT_EQ(m_date.DateSeparator(), "/");
}

TEST_F(TempixBox, ChecksUnderTheHourglass) {
    std::vector<int> pointers;
    const Qt::CursorShape noCursor = Qt::BitmapCursor;
    std::vector<Qt::CursorShape> shapes;
    QObject::connect(&m_date, &TempixTB::UpdateText, [&]() {
        pointers.push_back(ScreenPointer::Current());
        shapes.push_back(QGuiApplication::overrideCursor()
                             ? QGuiApplication::overrideCursor()->shape()
                             : noCursor);
    });
    Type(m_date, "5");
    PressEnter(m_date);
    m_date.SetText("6");
    EXPECT_EQ(pointers, (std::vector<int>{11, 11}));
    EXPECT_EQ(shapes, (std::vector<Qt::CursorShape>{Qt::WaitCursor, Qt::WaitCursor}));
    EXPECT_EQ(ScreenPointer::Current(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(TempixBox, SetsTheApplicationPointer) {
    m_date.SetMousepointer(11);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    m_time.SetMousepointer(2);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    m_date.SetMousepointer(0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    m_date.SetMousepointer(0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // Someone else's override cursor is left alone.
    QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
    m_date.SetMousepointer(11);
    m_date.SetMousepointer(0);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    QGuiApplication::restoreOverrideCursor();

    // The control's own pointer is the text box's.
    m_date.SetMousePointer(3);
    EXPECT_EQ(m_date.MousePointer(), 3);
    EXPECT_EQ(m_date.TPText()->cursor().shape(), Qt::IBeamCursor);
    m_date.SetMousePointer(12);
    EXPECT_EQ(m_date.TPText()->cursor().shape(), Qt::ForbiddenCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(TempixBox, SelectsItsTextWhenFocused) {
    QWidget window;
    auto* box = new TempixTB(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 60);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    box->SetText("1225");
    box->TPText()->setCursorPosition(0);
    box->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(box->TPText()->selectedText(), QStringLiteral("12/25/2003"));
}

TEST_F(TempixBox, MovingTheFocusOnChecksTheEntry) {
    QWidget window;
    auto* box = new TempixTB(&window);
    box->SetDataType("Time");
    auto* other = new QLineEdit(&window);
    other->move(0, 60);
    ControlEvents events(*box);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QTest::keyClicks(box->TPText(), QStringLiteral("1745"));
    QTest::keyClick(box->TPText(), Qt::Key_Tab);
    EXPECT_TRUE(other->hasFocus());
    EXPECT_EQ(Shown(*box), "17:45:00");
    other->setFocus();
    box->setFocus();
    QCoreApplication::processEvents(); // the whole text is selected now
    QTest::keyClicks(box->TPText(), QStringLiteral("2561"));
    other->setFocus();
    EXPECT_EQ(Shown(*box), "2561");
    EXPECT_EQ(events.Events(), (std::vector<std::string>{"UpdateText:17:45:00", kRangeEvent}));
}

TEST_F(TempixBox, LooksAndBehavioursBelongToTheTextBox) {
    m_date.SetLocked(true);
    EXPECT_TRUE(m_date.TPText()->isReadOnly());
    EXPECT_TRUE(m_date.Locked());
    m_date.SetEnabled(false);
    EXPECT_FALSE(m_date.TPText()->isEnabled());
    EXPECT_FALSE(m_date.Enabled());
    m_date.setEnabled(true);
    EXPECT_TRUE(m_date.Enabled());

    m_date.SetBackColor(0x000000FF); // red, as 0x00BBGGRR
    EXPECT_EQ(m_date.TPText()->palette().color(QPalette::Base), QColor(255, 0, 0));
    m_date.SetForeColor(0x00FF0000); // blue
    EXPECT_EQ(m_date.TPText()->palette().color(QPalette::Text), QColor(0, 0, 255));
    m_date.SetBackColor(TempixTB::SystemWindowBackground);
    EXPECT_EQ(m_date.TPText()->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Base));

    QFont font = m_date.Font();
    font.setBold(true);
    font.setPointSize(17);
    m_date.SetFont(font);
    EXPECT_EQ(m_date.TPText()->font(), font);
    EXPECT_EQ(m_date.Font(), font);

    // Formats, colours and the font are announced to the host; the states
    // and the pointer are not.
    EXPECT_EQ(m_dateEvents.Changes(),
              (std::vector<std::string>{"BackColor", "ForeColor", "BackColor", "Font"}));
    m_dateEvents.Clear();
    m_date.SetDataType("Time");
    m_date.SetDateFormat("m/d/yy");
    m_date.SetTimeFormat("hh:mm");
    m_date.SetDateSeparator("-");
    m_date.SetTimeSeparator(".");
    m_date.SetMousePointer(2);
    EXPECT_EQ(m_dateEvents.Changes(),
              (std::vector<std::string>{"DataType", "DateFormat", "TimeFormat", "DateSeparator",
                                        "TimeSeparator"}));
    EXPECT_TRUE(m_dateEvents.Events().empty());
}

TEST_F(TempixBox, PlacesTheTextBoxInsideItsEdges) {
    TempixTB box;
    const int inset = (50 * box.logicalDpiX() + 720) / 1440;
    const int insetY = (50 * box.logicalDpiY() + 720) / 1440;
    box.show();
    box.resize(200, 40);
    EXPECT_EQ(box.TPText()->geometry(), QRect(inset, insetY, 200 - 2 * inset, 40 - 2 * insetY));
    // Too low for the inset: the box takes the whole size.
    box.resize(120, 2 * insetY - 1);
    EXPECT_EQ(box.TPText()->geometry(), QRect(inset, insetY, 120, 2 * insetY - 1));
    // Too narrow: never a negative width.
    box.resize(2 * inset - 1, 40);
    EXPECT_GE(box.TPText()->width(), 0);
    EXPECT_EQ(box.TPText()->height(), 40 - 2 * insetY);
    EXPECT_EQ(box.sizeHint(), box.TPText()->sizeHint() + QSize(2 * inset, 2 * insetY));
}

TEST_F(TempixBox, DerivesTheSystemFormats) {
    m_date.SetSystemTempixFormats();
    EXPECT_EQ(m_date.DateFormat(), "m/d/yyyy");
    EXPECT_EQ(m_date.DateSeparator(), "/");
    EXPECT_EQ(m_date.TimeFormat(), "h:mm:ss AM/PM");
    EXPECT_EQ(m_date.TimeSeparator(), ":");
    EXPECT_TRUE(m_dateEvents.Events().empty());
    m_date.SetText("0704");
    EXPECT_EQ(m_date.Text(), "7/4/2003");
}

TEST_F(TempixBox, PassesGenerateCallsThrough) {
    EXPECT_EQ(m_date.GenerateDateValue("5"), "03/05/2003");
    EXPECT_EQ(m_date.GenerateDateValue("1332"), "range");
    EXPECT_EQ(m_date.GenerateDateValue("12/30/1899"), "");
    EXPECT_EQ(m_time.GenerateTimeValue("930 pm"), "09:30 PM");
    EXPECT_EQ(m_time.GenerateTimeValue("2561"), "range");
    EXPECT_EQ(m_time.GenerateTimeValue("abc"), "format");
    EXPECT_EQ(m_date.GenerateDateValue("1.5.03"), "01/05/2003");
    EXPECT_EQ(m_date.DateSeparator(), ".");
    // Nothing is shown and nothing raised.
    EXPECT_EQ(Shown(m_date), "");
    EXPECT_TRUE(m_dateEvents.Events().empty());
    EXPECT_TRUE(m_timeEvents.Events().empty());
}

// --- Stored properties.

TEST_F(TempixBox, ANewControlStoresNothing) {
    QWidget host;
    TempixTB box(&host);
    PropertyBag bag;
    box.WriteProperties(bag);
    EXPECT_EQ(bag.Count(), 0);
}

TEST_F(TempixBox, StoredPropertiesGoRoundTheBag) {
    QWidget host;
    TempixTB box(&host);
    box.SetEnabled(false);
    box.SetLocked(true);
    box.SetMousePointer(3);
    box.SetDataType("Time");
    box.SetDateFormat("dd.mm.yyyy");
    box.SetDateSeparator(".");
    box.SetTimeFormat("hh:mm AM/PM");
    box.SetTimeSeparator(".");
    box.SetBackColor(0x00C0FFEE);
    box.SetForeColor(0x00102030);
    QFont font = host.font();
    font.setItalic(true);
    box.SetFont(font);

    PropertyBag bag;
    box.WriteProperties(bag);
    EXPECT_EQ(bag.Keys(),
              (std::vector<std::string>{"Enabled", "Locked", "MousePointer", "DataType",
                                        "DateFormat", "DateSeparator", "TimeFormat",
                                        "TimeSeparator", "BackColor", "ForeColor", "Font"}));
    EXPECT_EQ(bag.ReadProperty("timeformat").toString(), QStringLiteral("hh:mm AM/PM"));

    TempixTB copy(&host);
    copy.ReadProperties(bag);
    EXPECT_FALSE(copy.Enabled());
    EXPECT_TRUE(copy.Locked());
    EXPECT_EQ(copy.MousePointer(), 3);
    EXPECT_EQ(copy.DataType(), "Time");
    EXPECT_EQ(copy.DateFormat(), "dd.mm.yyyy");
    EXPECT_EQ(copy.DateSeparator(), ".");
    EXPECT_EQ(copy.TimeFormat(), "hh:mm AM/PM");
    EXPECT_EQ(copy.TimeSeparator(), ".");
    EXPECT_EQ(copy.BackColor(), 0x00C0FFEE);
    EXPECT_EQ(copy.ForeColor(), 0x00102030);
    EXPECT_EQ(copy.Font(), font);
    PropertyBag again;
    copy.WriteProperties(again);
    EXPECT_EQ(again.Keys(), bag.Keys());

    // Back to the defaults: nothing is kept.
    copy.ReadProperties(PropertyBag());
    copy.WriteProperties(again);
    EXPECT_EQ(again.Count(), 0);
    EXPECT_EQ(copy.TimeFormat(), "hh:mm:ss");
    EXPECT_TRUE(copy.Enabled());
    EXPECT_EQ(copy.Font(), host.font());
}

TEST_F(TempixBox, ReadsKeysInAnyCase) {
    PropertyBag bag;
    bag.WriteProperty("_extentx", 2117);
    bag.WriteProperty("_extenty", 529);
    bag.WriteProperty("datatype", QStringLiteral("Time"));
    bag.WriteProperty("timeformat", QStringLiteral("hh:mm AM/PM"));
    bag.WriteProperty("LOCKED", QStringLiteral("True"));
    bag.WriteProperty("backcolor", QVariant::fromValue<qlonglong>(0x80000005LL));
    TempixTB box;
    box.ReadProperties(bag);
    EXPECT_EQ(box.DataType(), "Time");
    EXPECT_EQ(box.TimeFormat(), "hh:mm AM/PM");
    EXPECT_TRUE(box.Locked());
    EXPECT_EQ(box.BackColor(), TempixTB::SystemWindowBackground);
    EXPECT_EQ(box.DateFormat(), "mm/dd/yyyy");
    box.SetText("930 pm");
    EXPECT_EQ(box.Text(), "09:30 PM");
}

TEST(TempixPropertyBag, MatchesKeysWithoutCaseAndKeepsOnlyWhatDiffers) {
    PropertyBag bag;
    EXPECT_EQ(bag.ReadProperty("DataType", QStringLiteral("Date")).toString(),
              QStringLiteral("Date"));
    EXPECT_FALSE(bag.ReadProperty("DataType").isValid());
    bag.WriteProperty("DataType", QStringLiteral("Date"), QStringLiteral("Date"));
    EXPECT_EQ(bag.Count(), 0);
    bag.WriteProperty("DataType", QStringLiteral("Time"), QStringLiteral("Date"));
    EXPECT_TRUE(bag.Contains("DATATYPE"));
    EXPECT_EQ(bag.ReadProperty("datatype", QStringLiteral("Date")).toString(),
              QStringLiteral("Time"));
    bag.WriteProperty("datatype", QStringLiteral("Time2"));
    EXPECT_EQ(bag.Count(), 1);
    EXPECT_EQ(bag.Keys(), std::vector<std::string>{"datatype"});
    // Writing the default again removes what was kept.
    bag.WriteProperty("DataType", QStringLiteral("Date"), QStringLiteral("Date"));
    EXPECT_EQ(bag.Count(), 0);
    bag.WriteProperty("A", 1);
    bag.WriteProperty("B", 2);
    bag.Remove("a");
    EXPECT_EQ(bag.Keys(), std::vector<std::string>{"B"});
    bag.Clear();
    EXPECT_EQ(bag.Count(), 0);
    // Keys that only look alike outside ASCII are different keys.
    bag.WriteProperty("\xC3\xA9", 1);
    EXPECT_FALSE(bag.Contains("\xC3\x89"));
}

TEST_F(TempixBox, FormsSetPropertiesThroughTheFormCompiler) {
    QDialog dialog;
    Ui::FTempixDemo form;
    form.setupUi(&dialog);
    EXPECT_EQ(form.tptbStartDate->DataType(), "Date");
    EXPECT_EQ(form.tptbStartDate->TimeFormat(), "hh:mm:ss");
    EXPECT_EQ(form.tptbStartTime->DataType(), "Time");
    EXPECT_EQ(form.tptbStartTime->TimeFormat(), "hh:mm AM/PM");
    form.tptbStartTime->SetText("1745");
    EXPECT_EQ(form.tptbStartTime->Text(), "05:45 PM");
}

// --- Without a rule base.

class TempixBoxWithoutRules : public ::testing::Test {
protected:
    ~TempixBoxWithoutRules() override { TempixTB::SetRuleBaseFactory(nullptr); }
};

TEST_F(TempixBoxWithoutRules, ReportsTheMissingRuleBase) {
    for (int failure = 0; failure < 2; ++failure) {
        TempixTB::SetRuleBaseFactory([failure]() -> std::unique_ptr<CTempix> {
            if (failure == 1) {
                throw std::bad_alloc();
            }
            return nullptr;
        });
        TempixTB box;
        ControlEvents events(box);
        QCoreApplication::processEvents();
        EXPECT_EQ(events.Events(),
                  std::vector<std::string>{
                      "RuleInitError:Error Type: Initialization \r\nError Description: There "
                      "has been an error initializing the Tempix Rule Base."});
        events.Clear();
        box.SetSystemTempixFormats();
        EXPECT_EQ(events.Events(),
                  std::vector<std::string>{"RuleInitError:Error Number: 1 \r\nError Description: "
                                           "There has been an error initializing the Tempix rule "
                                           "base object."});
        events.Clear();

        // Still an ordinary text box that raises nothing else.
        EXPECT_EQ(box.TPRules(), nullptr);
        Type(box, "5");
        PressEnter(box);
        Leave(box);
        EXPECT_EQ(Shown(box), "5");
        EXPECT_EQ(box.Text(), "5");
        box.SetText("6");
        EXPECT_EQ(box.GenerateDateValue("5"), "");
        EXPECT_EQ(box.GenerateTimeValue("5"), "");
        box.SetDataType("Time");
        EXPECT_EQ(box.DataType(), "");
        PropertyBag bag;
        box.ReadProperties(bag);
        box.WriteProperties(bag);
        EXPECT_EQ(bag.Count(), 0);
        box.SetText("");
        EXPECT_EQ(box.Text(), "");
        EXPECT_TRUE(events.Events().empty());
    }
    TempixTB::SetRuleBaseFactory(nullptr);
    TempixTB box;
    EXPECT_NE(box.TPRules(), nullptr);
}

} // namespace
} // namespace tempix
