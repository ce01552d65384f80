#include "tempix/TempixTB.h"

#include <exception>

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QTimer>

#include "generated/TempixVersion.h"
#include "tempix/CTempix.h"
#include "tempix/PropertyBag.h"
#include "tempix/ScreenPointer.h"

namespace tempix {

namespace {

const std::string kFormatErrorHead = "Error Type: Tempix Format\r\nError Description: ";
const std::string kRangeErrorHead = "Error Type: Tempix Range\r\nError Description: ";
const std::string kStartUpError =
    "Error Type: Initialization \r\nError Description: There has been "
    "an error initializing the Tempix Rule Base.";
const std::string kMissingRulesError = "Error Number: 1 \r\nError Description: There has been an "
                                       "error initializing the Tempix rule base object.";

// The text box sits this far in from each edge of the control.
constexpr int kInsetTwips = 50;

std::function<std::unique_ptr<CTempix>()>& RuleBaseFactory() {
    static std::function<std::unique_ptr<CTempix>()> factory;
    return factory;
}

std::unique_ptr<CTempix> MakeRuleBase() {
    try {
        const auto& factory = RuleBaseFactory();
        return factory ? factory() : std::make_unique<CTempix>();
    } catch (const std::exception&) {
        return nullptr;
    }
}

// A colour number as a colour: system colours by their index, others as
// 0x00BBGGRR.
QColor ToColor(int32_t value, QPalette::ColorRole fallback) {
    const auto bits = static_cast<uint32_t>(value);
    if ((bits & 0x80000000u) == 0) {
        return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                      static_cast<int>((bits >> 16) & 0xFF));
    }
    QPalette::ColorRole role = fallback;
    switch (bits & 0xFFu) {
    case 5: // window background
        role = QPalette::Base;
        break;
    case 8: // window text
        role = QPalette::Text;
        break;
    case 13: // highlight
        role = QPalette::Highlight;
        break;
    case 14: // highlighted text
        role = QPalette::HighlightedText;
        break;
    case 15: // button face
        role = QPalette::Button;
        break;
    case 18: // button text
        role = QPalette::ButtonText;
        break;
    case 4:  // menu
    case 12: // application workspace
        role = QPalette::Window;
        break;
    case 7:  // menu text
    case 17: // grey text
        role = QPalette::WindowText;
        break;
    default:
        break;
    }
    return QApplication::palette().color(role);
}

// A stored colour number; system colours may come back as large unsigned
// numbers, which keep their bits.
int32_t ColourNumber(const QVariant& value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value.toLongLong()));
}

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TempixTB::TempixTB(QWidget* parent) : QWidget(parent) {
    m_tpText = new QLineEdit(this);
    m_tpText->setObjectName(QStringLiteral("TPText"));
    m_tpText->installEventFilter(this);
    setFocusProxy(m_tpText);
    setFocusPolicy(m_tpText->focusPolicy());
    setSizePolicy(m_tpText->sizePolicy());
    setAttribute(Qt::WA_InputMethodEnabled);

    m_rules = MakeRuleBase();
    if (m_rules) {
        m_rules->setObjectName(QStringLiteral("TPRules"));
        connect(m_rules.get(), &CTempix::UpdateText, this, [this](const std::string& text) {
            m_tpText->setText(FromStd(text));
            emit UpdateText(text);
        });
        connect(m_rules.get(), &CTempix::FormatError, this, [this](const std::string& description) {
            emit TempixFormatError(kFormatErrorHead + description);
        });
        connect(m_rules.get(), &CTempix::RangeError, this, [this](const std::string& description) {
            emit TempixRangeError(kRangeErrorHead + description);
        });
    } else {
        QTimer::singleShot(0, this, [this]() { emit RuleInitError(kStartUpError); });
    }
    m_tpText->clear();
    InitProperties();
    PlaceTextBox();
}

TempixTB::~TempixTB() {
    // The text box outlives this part of the control (Qt deletes children
    // later); it must not report its last focus change to a control that is
    // going away.
    m_tpText->removeEventFilter(this);
}

void TempixTB::SetRuleBaseFactory(std::function<std::unique_ptr<CTempix>()> factory) {
    RuleBaseFactory() = std::move(factory);
}

// --- Look and behaviour.

int32_t TempixTB::hWnd() const {
    return static_cast<int32_t>(m_tpText->effectiveWinId());
}

int16_t TempixTB::Alignment() const {
    const Qt::Alignment horizontal = m_tpText->alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignRight) {
        return 1;
    }
    if (horizontal & Qt::AlignHCenter) {
        return 2;
    }
    return 0;
}

bool TempixTB::Enabled() const {
    return m_tpText->isEnabled();
}

void TempixTB::SetEnabled(bool value) {
    m_tpText->setEnabled(value);
}

void TempixTB::setEnabled(bool value) {
    SetEnabled(value);
}

void TempixTB::SetBackColor(int32_t value) {
    m_backColor = value;
    ApplyColours();
    emit PropertyChanged("BackColor");
}

void TempixTB::SetForeColor(int32_t value) {
    m_foreColor = value;
    ApplyColours();
    emit PropertyChanged("ForeColor");
}

void TempixTB::ApplyColours() {
    QPalette palette = m_tpText->palette();
    palette.setColor(QPalette::Base, ToColor(m_backColor, QPalette::Base));
    palette.setColor(QPalette::Text, ToColor(m_foreColor, QPalette::Text));
    m_tpText->setPalette(palette);
}

QFont TempixTB::Font() const {
    return m_tpText->font();
}

void TempixTB::SetFont(const QFont& value) {
    m_tpText->setFont(value);
    updateGeometry();
    emit PropertyChanged("Font");
}

bool TempixTB::Locked() const {
    return m_tpText->isReadOnly();
}

void TempixTB::SetLocked(bool value) {
    m_tpText->setReadOnly(value);
}

void TempixTB::setLocked(bool value) {
    SetLocked(value);
}

void TempixTB::SetMousePointer(int16_t value) {
    m_mousePointer = value;
    if (value == ScreenPointer::Default) {
        m_tpText->unsetCursor();
    } else {
        m_tpText->setCursor(ScreenPointer::ToCursorShape(value));
    }
}

void TempixTB::setMousePointer(int value) {
    SetMousePointer(static_cast<int16_t>(value));
}

void TempixTB::setBackColor(int value) {
    SetBackColor(value);
}

void TempixTB::setForeColor(int value) {
    SetForeColor(value);
}

void TempixTB::SetMousepointer(int pointer) {
    ScreenPointer::Set(static_cast<int16_t>(pointer));
}

void TempixTB::ResetText() {
    m_tpText->clear();
}

// --- Formats.

std::string TempixTB::DataType() const {
    return m_rules ? m_rules->DataType() : std::string();
}

void TempixTB::SetDataType(const std::string& value) {
    if (m_rules) {
        m_rules->SetDataType(value);
        emit PropertyChanged("DataType");
    }
}

std::string TempixTB::DateFormat() const {
    return m_rules ? m_rules->DateFormat() : std::string();
}

void TempixTB::SetDateFormat(const std::string& value) {
    if (m_rules) {
        m_rules->SetDateFormat(value);
        emit PropertyChanged("DateFormat");
    }
}

std::string TempixTB::TimeFormat() const {
    return m_rules ? m_rules->TimeFormat() : std::string();
}

void TempixTB::SetTimeFormat(const std::string& value) {
    if (m_rules) {
        m_rules->SetTimeFormat(value);
        emit PropertyChanged("TimeFormat");
    }
}

std::string TempixTB::DateSeparator() const {
    return m_rules ? m_rules->DateSeparator() : std::string();
}

void TempixTB::SetDateSeparator(const std::string& value) {
    if (m_rules) {
        m_rules->SetDateSeparator(value);
        emit PropertyChanged("DateSeparator");
    }
}

std::string TempixTB::TimeSeparator() const {
    return m_rules ? m_rules->TimeSeparator() : std::string();
}

void TempixTB::SetTimeSeparator(const std::string& value) {
    if (m_rules) {
        m_rules->SetTimeSeparator(value);
        emit PropertyChanged("TimeSeparator");
    }
}

// --- Text.

std::string TempixTB::Text() const {
    if (m_tpText->text().isEmpty()) {
        return std::string();
    }
    return m_rules ? m_rules->Text() : m_tpText->text().toStdString();
}

void TempixTB::SetText(const std::string& value) {
    if (value.empty()) {
        if (m_rules) {
            m_rules->SetText(value);
        }
        m_tpText->clear();
        return;
    }
    if (!m_rules) {
        return;
    }
    ScreenPointer::Set(ScreenPointer::Hourglass);
    m_rules->SetText(value);
    ScreenPointer::Set(ScreenPointer::Default);
}

void TempixTB::CheckEntry() {
    ScreenPointer::Set(ScreenPointer::Hourglass);
    const QString entry = m_tpText->text();
    bool blank = true;
    for (const QChar c : entry) {
        if (c != QLatin1Char(' ')) {
            blank = false;
            break;
        }
    }
    if (!blank && m_rules) {
        m_rules->SetText(entry.toStdString());
    }
    ScreenPointer::Set(ScreenPointer::Default);
}

std::string TempixTB::GenerateDateValue(const std::string& dateString) {
    return m_rules ? m_rules->GenerateDateValue(dateString) : std::string();
}

std::string TempixTB::GenerateTimeValue(const std::string& timeString) {
    return m_rules ? m_rules->GenerateTimeValue(timeString) : std::string();
}

void TempixTB::SetSystemTempixFormats() {
    if (!m_rules) {
        emit RuleInitError(kMissingRulesError);
        return;
    }
    m_rules->SetSystemTempixFormats();
}

// --- Stored properties.

void TempixTB::InitProperties() {
    if (!m_rules) {
        return;
    }
    m_rules->SetDataType(DefaultDataType);
    m_rules->SetDateFormat(DefaultDateFormat);
    m_rules->SetDateSeparator(DefaultDateSeparator);
    m_rules->SetTimeFormat(DefaultTimeFormat);
    m_rules->SetTimeSeparator(DefaultTimeSeparator);
}

void TempixTB::ReadProperties(const PropertyBag& bag) {
    const QFont ambient = parentWidget() ? parentWidget()->font() : QApplication::font();
    SetEnabled(bag.ReadProperty("Enabled", true).toBool());
    SetLocked(bag.ReadProperty("Locked", false).toBool());
    SetMousePointer(static_cast<int16_t>(bag.ReadProperty("MousePointer", 0).toInt()));
    if (m_rules) {
        const auto text = [&](const char* key, const char* defaultValue) {
            return bag.ReadProperty(key, QString::fromLatin1(defaultValue))
                .toString()
                .toStdString();
        };
        m_rules->SetDataType(text("DataType", DefaultDataType));
        m_rules->SetDateFormat(text("DateFormat", DefaultDateFormat));
        m_rules->SetDateSeparator(text("DateSeparator", DefaultDateSeparator));
        m_rules->SetTimeFormat(text("TimeFormat", DefaultTimeFormat));
        m_rules->SetTimeSeparator(text("TimeSeparator", DefaultTimeSeparator));
    }
    m_backColor = ColourNumber(bag.ReadProperty("BackColor", SystemWindowBackground));
    m_foreColor = ColourNumber(bag.ReadProperty("ForeColor", SystemWindowText));
    ApplyColours();
    const QVariant font = bag.ReadProperty("Font", ambient);
    m_tpText->setFont(font.canConvert<QFont>() ? font.value<QFont>() : ambient);
    updateGeometry();
}

void TempixTB::WriteProperties(PropertyBag& bag) const {
    const QFont ambient = parentWidget() ? parentWidget()->font() : QApplication::font();
    bag.WriteProperty("Enabled", Enabled(), true);
    bag.WriteProperty("Locked", Locked(), false);
    bag.WriteProperty("MousePointer", static_cast<int>(m_mousePointer), 0);
    if (m_rules) {
        const auto text = [&](const char* key, const std::string& value, const char* defaultValue) {
            bag.WriteProperty(key, FromStd(value), QString::fromLatin1(defaultValue));
        };
        text("DataType", m_rules->DataType(), DefaultDataType);
        text("DateFormat", m_rules->DateFormat(), DefaultDateFormat);
        text("DateSeparator", m_rules->DateSeparator(), DefaultDateSeparator);
        text("TimeFormat", m_rules->TimeFormat(), DefaultTimeFormat);
        text("TimeSeparator", m_rules->TimeSeparator(), DefaultTimeSeparator);
    }
    bag.WriteProperty("BackColor", m_backColor, SystemWindowBackground);
    bag.WriteProperty("ForeColor", m_foreColor, SystemWindowText);
    bag.WriteProperty("Font", m_tpText->font(), ambient);
}

std::string TempixTB::Version() const {
    return kTempixVersion;
}

// --- Qt property readers and writers.

QString TempixTB::version() const {
    return FromStd(Version());
}
QString TempixTB::dataType() const {
    return FromStd(DataType());
}
void TempixTB::setDataType(const QString& value) {
    SetDataType(value.toStdString());
}
QString TempixTB::dateFormat() const {
    return FromStd(DateFormat());
}
void TempixTB::setDateFormat(const QString& value) {
    SetDateFormat(value.toStdString());
}
QString TempixTB::timeFormat() const {
    return FromStd(TimeFormat());
}
void TempixTB::setTimeFormat(const QString& value) {
    SetTimeFormat(value.toStdString());
}
QString TempixTB::dateSeparator() const {
    return FromStd(DateSeparator());
}
void TempixTB::setDateSeparator(const QString& value) {
    SetDateSeparator(value.toStdString());
}
QString TempixTB::timeSeparator() const {
    return FromStd(TimeSeparator());
}
void TempixTB::setTimeSeparator(const QString& value) {
    SetTimeSeparator(value.toStdString());
}
QString TempixTB::text() const {
    return FromStd(Text());
}
void TempixTB::setText(const QString& value) {
    SetText(value.toStdString());
}

// --- Events and layout.

bool TempixTB::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tpText) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                // Checked before the box sees the key, which still reaches it.
                CheckEntry();
            }
            break;
        }
        case QEvent::FocusIn:
            // Deferred, so a click that brought the focus does not undo it.
            QTimer::singleShot(0, m_tpText, [box = m_tpText]() {
                if (box->hasFocus()) {
                    box->selectAll();
                }
            });
            break;
        case QEvent::FocusOut: {
            // Leaving the box for another control checks it. Losing the focus
            // because another window came up (a message box about this very
            // entry) does not, or each report would raise the next one.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                CheckEntry();
            }
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TempixTB::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceTextBox();
}

int TempixTB::MarginPixels(int twips, bool horizontal) const {
    const int dpi = horizontal ? logicalDpiX() : logicalDpiY();
    return (twips * (dpi > 0 ? dpi : 96) + 720) / 1440;
}

void TempixTB::PlaceTextBox() {
    // The box sits 50 twips in from each edge; a control too small for that
    // gives the box its whole size, and a width below zero is never applied.
    const int inset = MarginPixels(kInsetTwips, true);
    const int insetY = MarginPixels(kInsetTwips, false);
    const int w = width();
    const int h = height();
    int boxWidth = w;
    int boxHeight = h;
    if (h - 2 * insetY >= 0) {
        boxWidth = w - 2 * inset >= 0 ? w - 2 * inset : w;
        boxHeight = h - 2 * insetY;
    }
    m_tpText->setGeometry(inset, insetY, boxWidth, boxHeight);
}

QSize TempixTB::sizeHint() const {
    return m_tpText->sizeHint() +
           QSize(2 * MarginPixels(kInsetTwips, true), 2 * MarginPixels(kInsetTwips, false));
}

QSize TempixTB::minimumSizeHint() const {
    return m_tpText->minimumSizeHint() +
           QSize(2 * MarginPixels(kInsetTwips, true), 2 * MarginPixels(kInsetTwips, false));
}

} // namespace tempix
