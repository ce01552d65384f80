#include "core/Program.h"

#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"

namespace orvan {

namespace {
std::shared_ptr<CTimeRecordFactory>& FactorySlot() {
    static std::shared_ptr<CTimeRecordFactory> factory;
    return factory;
}
} // namespace

std::shared_ptr<CTimeRecordFactory> Program::TimeRecordFactory() {
    return FactorySlot();
}

void Program::SetTimeRecordFactory(const std::shared_ptr<CTimeRecordFactory>& factory) {
    FactorySlot() = factory;
}

void Program::StartTimeRecordFactory(std::shared_ptr<CTimeRecordFactory>& factory,
                                     const std::shared_ptr<CJetDB>& database) {
    if (!factory) {
        factory = std::make_shared<CTimeRecordFactory>();
        factory->SetOrvanDatabase(database);
    } else if (auto list = factory->TimeRecordList()) {
        list->Destroy();
        list->Create();
    }
    SetTimeRecordFactory(factory);
}

} // namespace orvan
