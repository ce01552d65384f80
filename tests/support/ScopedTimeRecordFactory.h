#pragma once

#include <cstddef>
#include <memory>

namespace orvan {
class CJetDB;
class CTimeRecordFactory;
} // namespace orvan

namespace orvan::test {

// Makes a time record factory the program-wide one (Program::
// TimeRecordFactory) for as long as it lives, the way a program's controller
// does, and puts back whatever was installed before (none included).
class ScopedTimeRecordFactory {
public:
    // A new factory on `database` (shared with the factory, as a controller
    // shares its database object).
    explicit ScopedTimeRecordFactory(const std::shared_ptr<CJetDB>& database);
    // Installs `factory` itself.
    explicit ScopedTimeRecordFactory(std::shared_ptr<CTimeRecordFactory> factory);
    // Installs none: a program that has not built its factory yet.
    explicit ScopedTimeRecordFactory(std::nullptr_t);
    ~ScopedTimeRecordFactory();
    ScopedTimeRecordFactory(const ScopedTimeRecordFactory&) = delete;
    ScopedTimeRecordFactory& operator=(const ScopedTimeRecordFactory&) = delete;

    // The installed factory, shared; null for the guard that installs none.
    const std::shared_ptr<CTimeRecordFactory>& Factory() const { return m_factory; }

private:
    std::shared_ptr<CTimeRecordFactory> m_factory;
    std::shared_ptr<CTimeRecordFactory> m_previous;
};

} // namespace orvan::test
