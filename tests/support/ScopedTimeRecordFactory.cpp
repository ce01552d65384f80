#include "support/ScopedTimeRecordFactory.h"

#include <utility>

#include "core/CTimeRecordFactory.h"
#include "core/Program.h"

namespace orvan::test {

namespace {

std::shared_ptr<CTimeRecordFactory> FactoryOn(const std::shared_ptr<CJetDB>& database) {
    auto factory = std::make_shared<CTimeRecordFactory>();
    factory->SetOrvanDatabase(database);
    return factory;
}

} // namespace

ScopedTimeRecordFactory::ScopedTimeRecordFactory(const std::shared_ptr<CJetDB>& database)
    : ScopedTimeRecordFactory(FactoryOn(database)) {}

ScopedTimeRecordFactory::ScopedTimeRecordFactory(std::shared_ptr<CTimeRecordFactory> factory)
    : m_factory(std::move(factory)), m_previous(Program::TimeRecordFactory()) {
    Program::SetTimeRecordFactory(m_factory);
}

ScopedTimeRecordFactory::ScopedTimeRecordFactory(std::nullptr_t)
    : ScopedTimeRecordFactory(std::shared_ptr<CTimeRecordFactory>()) {}

ScopedTimeRecordFactory::~ScopedTimeRecordFactory() {
    Program::SetTimeRecordFactory(m_previous);
}

} // namespace orvan::test
