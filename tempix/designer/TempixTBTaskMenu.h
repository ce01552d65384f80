#pragma once

#include <QObject>
#include <QtDesigner/QDesignerTaskMenuExtension>

class QAction;

namespace tempix {

class TempixTB;

// The box's entry in Designer's context menu: "Properties..." opens the
// property page; what it applies goes through the form, so it is saved with
// the form and can be undone.
class TempixTBTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    TempixTBTaskMenu(TempixTB* control, QObject* parent);

    QAction* preferredEditAction() const override;
    QList<QAction*> taskActions() const override;

private:
    void OpenPropertyPage();

    TempixTB* m_control;
    QAction* m_editAction;
};

} // namespace tempix
