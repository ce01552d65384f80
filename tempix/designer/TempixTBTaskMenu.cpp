#include "tempix/designer/TempixTBTaskMenu.h"

#include <QAction>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>

#include "tempix/TPProperties.h"
#include "tempix/TempixTB.h"

namespace tempix {

TempixTBTaskMenu::TempixTBTaskMenu(TempixTB* control, QObject* parent)
    : QObject(parent), m_control(control),
      m_editAction(new QAction(QStringLiteral("Properties..."), this)) {
    connect(m_editAction, &QAction::triggered, this, &TempixTBTaskMenu::OpenPropertyPage);
}

QAction* TempixTBTaskMenu::preferredEditAction() const {
    return m_editAction;
}

QList<QAction*> TempixTBTaskMenu::taskActions() const {
    return {m_editAction};
}

void TempixTBTaskMenu::OpenPropertyPage() {
    TPProperties page(m_control);
    page.SetSelectedControls({m_control});
    connect(&page, &TPProperties::Applied, this, [this]() {
        QDesignerFormWindowInterface* form =
            QDesignerFormWindowInterface::findFormWindow(m_control);
        if (form == nullptr || form->cursor() == nullptr) {
            return;
        }
        // Hand the values the page set to the form, so it keeps them.
        for (const char* name :
             {"DataType", "DateFormat", "TimeFormat", "DateSeparator", "TimeSeparator"}) {
            form->cursor()->setWidgetProperty(m_control, QString::fromLatin1(name),
                                              m_control->property(name));
        }
    });
    page.exec();
}

} // namespace tempix
