#pragma once

#include <vector>

#include <QtWidgets/QDialog>

#include "storage/AuditTrail.h"

class QTableWidget;

namespace orvan::admin {

// "Time Record History": one time record's audit entries, oldest first, in
// a read-only table (when, who, what, the values before and after, the
// reason). Close or Escape ends it.
class FAuditHistory : public QDialog {
    Q_OBJECT

public:
    explicit FAuditHistory(const std::vector<audit::Entry>& entries, QWidget* parent = nullptr);

    QTableWidget* Table() const { return m_table; }

private:
    QTableWidget* m_table = nullptr;
};

} // namespace orvan::admin
