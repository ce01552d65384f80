#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QFont>
#include <QString>
#include <QWidget>

#include "tempix/TempixExport.h"

class QLineEdit;

namespace tempix {

class CTempix;
class PropertyBag;

// A text box for one date or one time. The user types freely; pressing Enter
// or leaving the box hands the entry to the rule base, which either replaces
// it by its formatted form (UpdateText) or reports it (TempixFormatError,
// TempixRangeError). The control never throws into its host.
//
// Members come twice where Qt needs it: the PascalCase members with standard
// types are the control's interface for code; the Q_PROPERTYs carry the same
// names for hosts that go through the meta-object (forms, setProperty), and
// their writers are spelled setDataType, setText... because that is what
// Qt's form compiler calls for a property set in a form.
class TEMPIX_EXPORT TempixTB : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("ClassId", "TempixTextBox.TempixTB")
    Q_CLASSINFO("DefaultProperty", "Text")

    Q_PROPERTY(int hWnd READ hWnd DESIGNABLE false STORED false)
    Q_PROPERTY(int Alignment READ Alignment DESIGNABLE false STORED false)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int BackColor READ BackColor WRITE setBackColor DESIGNABLE false)
    Q_PROPERTY(int ForeColor READ ForeColor WRITE setForeColor DESIGNABLE false)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont DESIGNABLE false)
    Q_PROPERTY(bool Locked READ Locked WRITE setLocked)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(bool FocusFlag READ FocusFlag DESIGNABLE false STORED false)
    Q_PROPERTY(QString Version READ version DESIGNABLE false STORED false)
    Q_PROPERTY(QString DataType READ dataType WRITE setDataType)
    Q_PROPERTY(QString DateFormat READ dateFormat WRITE setDateFormat)
    Q_PROPERTY(QString TimeFormat READ timeFormat WRITE setTimeFormat)
    Q_PROPERTY(QString DateSeparator READ dateSeparator WRITE setDateSeparator)
    Q_PROPERTY(QString TimeSeparator READ timeSeparator WRITE setTimeSeparator)
    Q_PROPERTY(QString Text READ text WRITE setText USER true)

public:
    // The class identifier hosts know the control by.
    static constexpr const char* ClassId = "TempixTextBox.TempixTB";

    // Initial values of a newly placed control and the defaults of its
    // stored properties.
    static constexpr const char* DefaultDataType = "Date";
    static constexpr const char* DefaultDateFormat = "mm/dd/yyyy";
    static constexpr const char* DefaultDateSeparator = "/";
    static constexpr const char* DefaultTimeFormat = "hh:mm:ss";
    static constexpr const char* DefaultTimeSeparator = ":";
    // System colours: window background and window text.
    static constexpr int32_t SystemWindowBackground = static_cast<int32_t>(0x80000005u);
    static constexpr int32_t SystemWindowText = static_cast<int32_t>(0x80000008u);

    // Creates the rule base and takes the values of a newly placed control.
    // When the rule base cannot be created, RuleInitError is raised once the
    // event loop runs (so a host that connects right after construction
    // hears it) and the control stays an inert text box.
    explicit TempixTB(QWidget* parent = nullptr);
    ~TempixTB() override;

    // Replaces how rule bases are made, for tests; a factory that returns
    // nullptr or throws makes the control start without one. nullptr
    // restores the ordinary factory.
    static void SetRuleBaseFactory(std::function<std::unique_ptr<CTempix>()> factory);

    // --- Look and behaviour of the text box.
    int32_t hWnd() const;
    // 0 left, 1 right, 2 centred.
    int16_t Alignment() const;
    bool Enabled() const;
    void SetEnabled(bool value);
    // Colours as numbers: 0x00BBGGRR, or a system colour 0x800000nn.
    int32_t BackColor() const { return m_backColor; }
    void SetBackColor(int32_t value);
    int32_t ForeColor() const { return m_foreColor; }
    void SetForeColor(int32_t value);
    QFont Font() const;
    void SetFont(const QFont& value);
    bool Locked() const;
    void SetLocked(bool value);
    // The text box's own pointer, numbered as ScreenPointer's.
    int16_t MousePointer() const { return m_mousePointer; }
    void SetMousePointer(int16_t value);
    bool FocusFlag() const { return m_focusFlag; }
    // The library's version (TEMPIX_VERSION in tempix/CMakeLists.txt).
    std::string Version() const;

    // Sets the pointer of the whole application, not only the control's.
    Q_INVOKABLE void SetMousepointer(int pointer);
    // Empties the text box; the rule base keeps its text.
    Q_INVOKABLE void ResetText();

    // --- The rule base's formats; setting announces the change.
    std::string DataType() const;
    void SetDataType(const std::string& value);
    std::string DateFormat() const;
    void SetDateFormat(const std::string& value);
    std::string TimeFormat() const;
    void SetTimeFormat(const std::string& value);
    std::string DateSeparator() const;
    void SetDateSeparator(const std::string& value);
    std::string TimeSeparator() const;
    void SetTimeSeparator(const std::string& value);

    // Empty when the box is empty, otherwise the rule base's text: the last
    // formatted entry or the raw text of the last rejected one.
    std::string Text() const;
    // A non-empty value is checked; the box shows it only when it is
    // accepted. An empty value empties both the box and the rule base.
    void SetText(const std::string& value);

    // Pass-throughs to the rule base; empty without one.
    Q_INVOKABLE std::string GenerateDateValue(const std::string& dateString);
    Q_INVOKABLE std::string GenerateTimeValue(const std::string& timeString);
    // Derives the formats from the system's; without a rule base raises
    // RuleInitError instead.
    Q_INVOKABLE void SetSystemTempixFormats();

    // --- Stored properties.
    // The values of a newly placed control.
    void InitProperties();
    // Applies the stored values in a fixed order; a missing key gives the
    // default.
    void ReadProperties(const PropertyBag& bag);
    // Writes every value that differs from its default.
    void WriteProperties(PropertyBag& bag) const;

    // The parts, for hosts that need to reach them (and for tests).
    QLineEdit* TPText() const { return m_tpText; }
    CTempix* TPRules() const { return m_rules.get(); }

    // --- Qt property readers and writers (see the class comment).
    QString version() const;
    QString dataType() const;
    void setDataType(const QString& value);
    QString dateFormat() const;
    void setDateFormat(const QString& value);
    QString timeFormat() const;
    void setTimeFormat(const QString& value);
    QString dateSeparator() const;
    void setDateSeparator(const QString& value);
    QString timeSeparator() const;
    void setTimeSeparator(const QString& value);
    QString text() const;
    void setText(const QString& value);
    // Enables or disables the text box, like Enabled (hides
    // QWidget::setEnabled so forms setting "Enabled" reach the text box).
    void setEnabled(bool value);
    void setLocked(bool value);
    void setMousePointer(int value);
    void setBackColor(int value);
    void setForeColor(int value);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Declared for hosts; the control never raises it.
    void KeyPress(int16_t KeyAscii);
    void RuleInitError(const std::string& errorDesc);
    void TempixFormatError(const std::string& errorDesc);
    void TempixRangeError(const std::string& errorDesc);
    void UpdateText(const std::string& thisText);
    // Tells the hosting form that a stored property changed.
    void PropertyChanged(const std::string& propertyName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CheckEntry();
    void PlaceTextBox();
    int MarginPixels(int twips, bool horizontal) const;
    void ApplyColours();

    QLineEdit* m_tpText = nullptr;
    std::unique_ptr<CTempix> m_rules;
    bool m_focusFlag = false;
    int16_t m_mousePointer = 0;
    int32_t m_backColor = SystemWindowBackground;
    int32_t m_foreColor = SystemWindowText;
};

} // namespace tempix
