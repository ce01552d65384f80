#include "core/Program.h"

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

} // namespace orvan
