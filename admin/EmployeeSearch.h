#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QtCore/QObject>
#include <QtCore/QString>

class QCompleter;
class QLineEdit;
class QStandardItemModel;

namespace orvan {
class CEmployee;
}

namespace orvan::admin {

// A search box for employees: as the user types, a completion list under
// the box offers the employees whose name holds the text (in any case) or
// whose employee number starts with it, by last name and first name with
// the administrator last. Picking one (a click, or Enter on the entry
// chosen with the arrow keys; Enter without a choice takes the first)
// hands that employee to `picked`. The box and its completer belong to the
// box's parent; the search belongs to the box.
class EmployeeSearch : public QObject {
public:
    using Employees = std::vector<std::shared_ptr<CEmployee>>;

    // `candidates` gives the employees that can be found, asked anew at
    // each keystroke, so the search follows the page's lists.
    EmployeeSearch(QLineEdit* box, std::function<Employees()> candidates,
                   std::function<void(const CEmployee&)> picked);

    // The candidates matching `text`, in the order the list shows them; none
    // for a blank text.
    static Employees Matches(const Employees& candidates, const QString& text);
    // An entry of the list: "Last, First (number)".
    static QString EntryText(const CEmployee& employee);

private:
    void Refresh(const QString& text);
    void Pick(const QString& entry);
    void EnterPressed();

    QLineEdit* m_box;
    QCompleter* m_completer;
    QStandardItemModel* m_model;
    std::function<Employees()> m_candidates;
    std::function<void(const CEmployee&)> m_picked;
    // What the list shows, in its order.
    Employees m_shown;
};

} // namespace orvan::admin
