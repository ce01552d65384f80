#include "tempix/designer/TempixTBPlugin.h"

#include <QIcon>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>

#include "tempix/designer/TempixTBTaskMenuFactory.h"
#include "tempix/TempixTB.h"

namespace tempix {

TempixTBPlugin::TempixTBPlugin(QObject* parent) : QObject(parent) {}

QString TempixTBPlugin::name() const {
    return QStringLiteral("tempix::TempixTB");
}

QString TempixTBPlugin::group() const {
    return QStringLiteral("Tempix");
}

QString TempixTBPlugin::toolTip() const {
    return QStringLiteral("Date/time text box (%1)").arg(QLatin1String(TempixTB::ClassId));
}

QString TempixTBPlugin::whatsThis() const {
    return QStringLiteral("A text box for one date or one time: short entries are expanded, "
                          "checked and shown in the box's format when the user presses Enter "
                          "or leaves the box; bad entries are reported through events.");
}

QString TempixTBPlugin::includeFile() const {
    return QStringLiteral("tempix/TempixTB.h");
}

QIcon TempixTBPlugin::icon() const {
    return QIcon();
}

bool TempixTBPlugin::isContainer() const {
    return false;
}

QWidget* TempixTBPlugin::createWidget(QWidget* parent) {
    return new TempixTB(parent);
}

bool TempixTBPlugin::isInitialized() const {
    return m_initialized;
}

void TempixTBPlugin::initialize(QDesignerFormEditorInterface* core) {
    if (m_initialized) {
        return;
    }
    if (core != nullptr) {
        if (QExtensionManager* manager = core->extensionManager()) {
            manager->registerExtensions(new TempixTBTaskMenuFactory(manager),
                                        Q_TYPEID(QDesignerTaskMenuExtension));
        }
    }
    m_initialized = true;
}

QString TempixTBPlugin::domXml() const {
    return QStringLiteral(R"(<ui language="c++">
 <widget class="tempix::TempixTB" name="tptbDate">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>120</width><height>28</height></rect>
  </property>
 </widget>
 <customwidgets>
  <customwidget>
   <class>tempix::TempixTB</class>
   <extends>QWidget</extends>
   <header>tempix/TempixTB.h</header>
  </customwidget>
 </customwidgets>
</ui>
)");
}

} // namespace tempix
