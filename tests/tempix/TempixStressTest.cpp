#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "support_qt/ScopedNow.h"
#include "tempix/TempixTB.h"

namespace tempix {
namespace {

using orvan::test::ScopedNow;

// Random and adversarial entries: digit runs of every length up to 10,000,
// separators alone, near-valid dates and times, mixed scripts, stray bytes.
class EntryMaker {
public:
    explicit EntryMaker(uint64_t seed) : m_random(seed) {}

    std::string Next() {
        switch (Pick(0, 99)) {
        case 0:
            return LongEntry();
        default:
            break;
        }
        switch (Pick(0, 8)) {
        case 0:
            return Digits(Pick(1, 12));
        case 1:
            return Digits(Pick(13, Pick(0, 9) == 0 ? 10000 : 60));
        case 2:
            return FromPool(" /:.-,\\", Pick(1, 20));
        case 3:
            return NearDate();
        case 4:
            return NearTime();
        case 5:
            return MixedScripts(Pick(1, 30));
        case 6:
            return RandomBytes(Pick(1, 30));
        case 7:
            return Special();
        default:
            return FromPool("0123456789/:.- apmAPMx", Pick(1, 16));
        }
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    std::string Digits(int length) { return FromPool("0123456789", length); }

    std::string FromPool(const std::string& pool, int length) {
        std::string text;
        text.reserve(static_cast<size_t>(length));
        for (int i = 0; i < length; ++i) {
            text.push_back(pool[static_cast<size_t>(Pick(0, static_cast<int>(pool.size()) - 1))]);
        }
        return text;
    }

    std::string Number(int high) {
        const int value = Pick(0, high);
        return Pick(0, 3) == 0 && value < 10 ? "0" + std::to_string(value) : std::to_string(value);
    }

    std::string NearDate() {
        static const std::vector<std::string> separators = {"/", "-", ".", " ", ":", ",", "//"};
        const std::string& s = separators[static_cast<size_t>(Pick(0, 6))];
        std::string text = Number(14) + s + Number(33);
        if (Pick(0, 3) != 0) {
            text += (Pick(0, 5) == 0 ? separators[static_cast<size_t>(Pick(0, 6))] : s) +
                    Number(Pick(0, 1) == 0 ? 99 : 10000);
        }
        if (Pick(0, 5) == 0) {
            text += " " + NearTime();
        }
        return text;
    }

    std::string NearTime() {
        static const std::vector<std::string> suffixes = {
            "",   "",    "",  "a",    "am",           "p",    "pm",  " a", " AM",
            " p", " PM", "x", " Uhr", "\xE5\x8D\x88", "  pm", "a.m."};
        std::string text = Number(Pick(0, 1) == 0 ? 24 : 99);
        if (Pick(0, 2) != 0) {
            text += ":" + Number(Pick(0, 1) == 0 ? 59 : 99);
            if (Pick(0, 1) == 0) {
                text += ":" + Number(Pick(0, 1) == 0 ? 59 : 99);
            }
        }
        return text + suffixes[static_cast<size_t>(Pick(0, static_cast<int>(suffixes.size()) - 1))];
    }

    static void AppendUtf8(std::string& text, char32_t c) {
        if (c < 0x80) {
            text.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            text.push_back(static_cast<char>(0xC0 | (c >> 6)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            text.push_back(static_cast<char>(0xE0 | (c >> 12)));
            text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            text.push_back(static_cast<char>(0xF0 | (c >> 18)));
            text.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }

    std::string MixedScripts(int length) {
        // Latin, digits and separators, Cyrillic, Greek, CJK, Arabic-Indic and
        // full-width digits, emoji, combining marks, direction marks, no-break
        // space.
        static const std::vector<std::pair<char32_t, char32_t>> ranges = {
            {'0', '9'},     {'a', 'z'},       {'/', '/'},     {':', ':'},       {0x430, 0x44F},
            {0x3B1, 0x3C9}, {0x4E00, 0x4FFF}, {0x660, 0x669}, {0xFF10, 0xFF19}, {0x1F600, 0x1F64F},
            {0x300, 0x36F}, {0x200E, 0x200F}, {0xA0, 0xA0},   {0x5D0, 0x5EA},   {0x2044, 0x2044}};
        std::string text;
        for (int i = 0; i < length; ++i) {
            const auto& range =
                ranges[static_cast<size_t>(Pick(0, static_cast<int>(ranges.size()) - 1))];
            AppendUtf8(text, static_cast<char32_t>(Pick(static_cast<int>(range.first),
                                                        static_cast<int>(range.second))));
        }
        return text;
    }

    std::string RandomBytes(int length) {
        std::string text;
        for (int i = 0; i < length; ++i) {
            text.push_back(static_cast<char>(Pick(0, 255)));
        }
        return text;
    }

    std::string Special() {
        static const std::vector<std::string> specials = {"format",
                                                          "range",
                                                          "12/30/1899",
                                                          "0",
                                                          "00",
                                                          "00:00",
                                                          "24:00",
                                                          "12:60",
                                                          "2/29/2000",
                                                          "2/29/1900",
                                                          "9999-12-31",
                                                          "12/31/9999",
                                                          "1/1/100",
                                                          "1/1/99",
                                                          "0/0/0",
                                                          "::",
                                                          ":5",
                                                          "5:",
                                                          "12:",
                                                          "/5",
                                                          "pm",
                                                          "a",
                                                          " ",
                                                          "\t",
                                                          "\r\n",
                                                          "13/13/13",
                                                          "1/5/03 25:00",
                                                          "12:34:56 PM PM",
                                                          "-1",
                                                          "+5",
                                                          "1e5",
                                                          "0x10",
                                                          "99:99:99",
                                                          "9:5:7"};
        return specials[static_cast<size_t>(Pick(0, static_cast<int>(specials.size()) - 1))];
    }

    std::string LongEntry() {
        const int length = Pick(0, 1) == 0 ? 10000 : Pick(100, 10000);
        switch (Pick(0, 3)) {
        case 0:
            return Digits(length);
        case 1:
            return FromPool("0123456789/:.- ", length);
        case 2:
            return FromPool("/", length);
        default:
            return MixedScripts(length / 3);
        }
    }

    std::mt19937_64 m_random;
};

// Counts the outcome events of one box.
struct Outcomes {
    int updates = 0;
    int formatErrors = 0;
    int rangeErrors = 0;
    int others = 0;
    std::string lastUpdate;

    explicit Outcomes(TempixTB& box) {
        QObject::connect(&box, &TempixTB::UpdateText, [this](const std::string& text) {
            ++updates;
            lastUpdate = text;
        });
        QObject::connect(&box, &TempixTB::TempixFormatError,
                         [this](const std::string&) { ++formatErrors; });
        QObject::connect(&box, &TempixTB::TempixRangeError,
                         [this](const std::string&) { ++rangeErrors; });
        QObject::connect(&box, &TempixTB::RuleInitError, [this](const std::string&) { ++others; });
        QObject::connect(&box, &TempixTB::KeyPress, [this](int16_t) { ++others; });
    }
    int Total() const { return updates + formatErrors + rangeErrors + others; }
    void Reset() { *this = Outcomes(); }

private:
    Outcomes() = default;
};

void PressEnter(TempixTB& box) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(box.TPText(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(box.TPText(), &release);
}

bool Blank(const QString& text) {
    for (const QChar c : text) {
        if (c != QLatin1Char(' ')) {
            return false;
        }
    }
    return true;
}

TEST(TempixStress, EveryEntryEndsInExactlyOneOutcome) {
    ScopedNow clock(DateValue::FromParts(2003, 3, 3, 10, 15, 20));
    TempixTB date;
    TempixTB time;
    time.SetDataType("Time");
    time.SetTimeFormat("hh:mm AM/PM");
    // A second time box printing with dots and on the 24-hour clock.
    TempixTB dotted;
    dotted.SetDataType("Time");
    dotted.SetTimeFormat("hh.mm.ss");
    TempixTB* boxes[] = {&date, &time, &dotted};
    Outcomes dateOutcomes(date);
    Outcomes timeOutcomes(time);
    Outcomes dottedOutcomes(dotted);
    Outcomes* outcomes[] = {&dateOutcomes, &timeOutcomes, &dottedOutcomes};

    constexpr int kEntries = 100000;
    EntryMaker maker(20030303);
    const auto started = std::chrono::steady_clock::now();
    int checked = 0;
    int accepted = 0;
    for (int n = 0; n < kEntries; ++n) {
        const std::string entry = maker.Next();
        for (int b = 0; b < 3; ++b) {
            TempixTB& box = *boxes[b];
            Outcomes& seen = *outcomes[b];
            seen.Reset();
            const bool typed = n % 16 == 0;
            if (typed) {
                // As the user: typed into the box and Enter pressed.
                box.TPText()->setText(QString::fromStdString(entry));
                const QString shown = box.TPText()->text();
                PressEnter(box);
                ASSERT_EQ(seen.Total(), Blank(shown) ? 0 : 1) << "entry #" << n;
                if (Blank(shown)) {
                    continue;
                }
            } else {
                box.SetText(entry);
                if (entry.empty()) {
                    ASSERT_EQ(seen.Total(), 0);
                    continue;
                }
                ASSERT_EQ(seen.Total(), 1) << "entry #" << n << " in box " << b;
            }
            ASSERT_EQ(seen.others, 0);
            ++checked;
            if (seen.updates == 1) {
                ++accepted;
                ASSERT_EQ(box.Text(), seen.lastUpdate);
                ASSERT_EQ(box.TPText()->text().toStdString(), seen.lastUpdate);
                // What the box shows is accepted again as it is.
                if (n % 8 == 0) {
                    const std::string shown = seen.lastUpdate;
                    seen.Reset();
                    PressEnter(box);
                    ASSERT_EQ(seen.updates, 1) << shown;
                    ASSERT_EQ(seen.lastUpdate, shown);
                }
            } else if (!typed) {
                ASSERT_EQ(box.Text(), entry);
            }
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_GE(checked, kEntries);
    // Enough of the entries were real dates and times to exercise the
    // accepting side too.
    EXPECT_GT(accepted, kEntries / 20);
    RecordProperty("checked", checked);
    RecordProperty("accepted", accepted);
    RecordProperty("seconds", std::to_string(seconds));
}

} // namespace
} // namespace tempix
