#include "tempix/designer/TempixTBTaskMenuFactory.h"

#include <QtDesigner/QDesignerTaskMenuExtension>

#include "tempix/designer/TempixTBTaskMenu.h"
#include "tempix/TempixTB.h"

namespace tempix {

TempixTBTaskMenuFactory::TempixTBTaskMenuFactory(QExtensionManager* parent)
    : QExtensionFactory(parent) {}

QObject* TempixTBTaskMenuFactory::createExtension(QObject* object, const QString& iid,
                                                  QObject* parent) const {
    if (iid != Q_TYPEID(QDesignerTaskMenuExtension)) {
        return nullptr;
    }
    if (auto* control = qobject_cast<TempixTB*>(object)) {
        return new TempixTBTaskMenu(control, parent);
    }
    return nullptr;
}

} // namespace tempix
