#include "admin/FAuditHistory.h"

#include <QtCore/QStringList>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

namespace orvan::admin {

FAuditHistory::FAuditHistory(const std::vector<audit::Entry>& entries, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FAuditHistory"));
    setWindowTitle(QStringLiteral("Time Record History"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    if (entries.empty()) {
        auto* none = new QLabel(QStringLiteral("No changes of this time record are recorded."));
        none->setObjectName(QStringLiteral("lblNoHistory"));
        layout->addWidget(none);
    }
    m_table = new QTableWidget(static_cast<int>(entries.size()), 6, this);
    m_table->setObjectName(QStringLiteral("grdHistory"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("When"), QStringLiteral("Who"),
                                        QStringLiteral("Change"), QStringLiteral("Before"),
                                        QStringLiteral("After"), QStringLiteral("Reason")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    int row = 0;
    for (const audit::Entry& entry : entries) {
        const std::string cells[] = {entry.when,   entry.who,   entry.kind,
                                     entry.before, entry.after, entry.reason};
        int column = 0;
        for (const std::string& cell : cells) {
            m_table->setItem(row, column++, new QTableWidgetItem(QString::fromStdString(cell)));
        }
        ++row;
    }
    m_table->resizeColumnsToContents();
    layout->addWidget(m_table);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(900, 300);
}

} // namespace orvan::admin
