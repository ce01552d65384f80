#include "admin/EmployeeSearch.h"

#include <algorithm>
#include <utility>

#include <QtCore/QCollator>
#include <QtCore/QLocale>
#include <QtGui/QStandardItemModel>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QCompleter>
#include <QtWidgets/QLineEdit>

#include "personnel/CEmployee.h"

namespace orvan::admin {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Names in dictionary order, whatever the computer's language: Álvarez
// beside Alvarez, in any case.
const QCollator& NameOrder() {
    static const QCollator order = [] {
        QCollator collator{QLocale(QLocale::English)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        return collator;
    }();
    return order;
}

// Last name, then first name; the number settles equal names.
bool ListedBefore(const CEmployee& a, const CEmployee& b) {
    if (a.IsAdministrator() != b.IsAdministrator()) {
        return b.IsAdministrator();
    }
    if (const int last = NameOrder().compare(Q(a.LastName()), Q(b.LastName())); last != 0) {
        return last < 0;
    }
    if (const int first = NameOrder().compare(Q(a.FirstName()), Q(b.FirstName())); first != 0) {
        return first < 0;
    }
    return a.EmployeeNumber() < b.EmployeeNumber();
}

bool Found(const CEmployee& employee, const QString& text) {
    if (QString::number(employee.EmployeeNumber()).startsWith(text)) {
        return true;
    }
    // "Dana Whitfield" and "Whitfield, Dana" both find her.
    return Q(employee.DisplayName()).contains(text, Qt::CaseInsensitive) ||
           EmployeeSearch::EntryText(employee).contains(text, Qt::CaseInsensitive);
}

} // namespace

EmployeeSearch::EmployeeSearch(QLineEdit* box, std::function<Employees()> candidates,
                               std::function<void(const CEmployee&)> picked)
    : QObject(box), m_box(box), m_completer(new QCompleter(box)),
      m_model(new QStandardItemModel(m_completer)), m_candidates(std::move(candidates)),
      m_picked(std::move(picked)) {
    // The list shows what Refresh put in it, unfiltered by the completer.
    m_completer->setModel(m_model);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(12);
    m_completer->popup()->setObjectName(box->objectName() + QStringLiteral("List"));
    box->setCompleter(m_completer);
    box->setClearButtonEnabled(true);
    connect(box, &QLineEdit::textEdited, this, &EmployeeSearch::Refresh);
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            &EmployeeSearch::Pick);
    connect(box, &QLineEdit::returnPressed, this, &EmployeeSearch::EnterPressed);
}

QString EmployeeSearch::EntryText(const CEmployee& employee) {
    QString name = Q(employee.LastName());
    if (!employee.FirstName().empty()) {
        name += QStringLiteral(", ") + Q(employee.FirstName());
    }
    return name + QStringLiteral(" (%1)").arg(employee.EmployeeNumber());
}

EmployeeSearch::Employees EmployeeSearch::Matches(const Employees& candidates,
                                                  const QString& text) {
    const QString wanted = text.trimmed();
    Employees found;
    if (wanted.isEmpty()) {
        return found;
    }
    for (const auto& employee : candidates) {
        if (employee != nullptr && Found(*employee, wanted)) {
            found.push_back(employee);
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return ListedBefore(*a, *b); });
    return found;
}

// The box's own handling of the keystroke runs after this and opens the
// list on what is set here.
void EmployeeSearch::Refresh(const QString& text) {
    m_shown = Matches(m_candidates(), text);
    m_model->clear();
    for (const auto& employee : m_shown) {
        m_model->appendRow(new QStandardItem(EntryText(*employee)));
    }
}

void EmployeeSearch::Pick(const QString& entry) {
    for (const auto& employee : m_shown) {
        if (EntryText(*employee) == entry) {
            m_picked(*employee);
            return;
        }
    }
}

void EmployeeSearch::EnterPressed() {
    // Enter on an entry of the list has picked it already (the box then
    // holds its text); Enter on a typed text takes the first match.
    const QString text = m_box->text();
    for (const auto& employee : m_shown) {
        if (EntryText(*employee) == text) {
            return;
        }
    }
    if (m_shown.empty()) {
        return;
    }
    const auto first = m_shown.front();
    m_box->setText(EntryText(*first));
    m_completer->popup()->hide();
    m_picked(*first);
}

} // namespace orvan::admin
