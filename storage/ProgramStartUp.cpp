#include "storage/ProgramStartUp.h"

#include <charconv>
#include <filesystem>
#include <fstream>

#include "core/CTimeRecordFactory.h"
#include "core/ErrorNumbers.h"
#include "core/Program.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployeeList.h"
#include "storage/CDatabaseLocator.h"
#include "storage/CError.h"
#include "storage/CFileAdaptor.h"
#include "storage/CSystemOptions.h"
#include "storage/DatabaseEngine.h"
#include "storage/ErrorLog.h"
#include "storage/Failure.h"
#include "storage/MessageBox.h"
#include "storage/PrivateFiles.h"
#include "storage/ProgramFolder.h"

namespace orvan {

namespace {

// The component the failures of the start-up are recorded for.
const char* const FailureSource = "CController";

// SQLite reports a file locked by another connection as busy or locked.
bool HeldByAnotherProgram(int32_t databaseError) {
    return databaseError == err::NoDatabase || databaseError == err::BusyOrInvalidCall ||
           databaseError == err::LockedOrOverflow;
}

// The adaptor reads a file it cannot open as an empty one. That suits a
// missing file (start-up then says the database is missing), but a file that
// is there and cannot be read is a configuration that was not read.
bool PresentButUnreadable(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file(path);
    if (!fs::exists(file, error)) {
        return false;
    }
    if (!fs::is_regular_file(file, error)) {
        return true;
    }
    std::ifstream stream(file, std::ios::binary);
    return !stream.is_open();
}

} // namespace

std::string ConfigFilePath() {
    return ProgramPath("\\system\\orvan_11.cfg");
}

int32_t ConfiguredBusyTimeout(CFileAdaptor& configFile) {
    const std::string text = configFile.FindKeyValue("BusyTimeout");
    int32_t milliseconds = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, milliseconds);
    // from_chars takes a leading minus; the value must be digits alone.
    if (text.empty() || text.front() == '-' || error != std::errc() || stop != end ||
        milliseconds <= 0) {
        return CJetDB::DefaultBusyTimeout;
    }
    return milliseconds;
}

ProgramStartUp::ProgramStartUp(StartUpSettings settings) : m_settings(std::move(settings)) {}

ProgramStartUp::~ProgramStartUp() {
    CloseDatabase();
    if (m_factory && Program::TimeRecordFactory() == m_factory) {
        Program::SetTimeRecordFactory(nullptr);
    }
}

ProgramStartUp::Outcome ProgramStartUp::RunStartUp() {
    // An installation made before its files were kept private, or files put
    // there by hand, are closed to other users before anything is read. The
    // log says so for an installation whose folders were open (one made
    // before, once); a file put into a private folder is closed silently.
    const std::filesystem::path folder = ProgramFolder();
    const bool openInstallation =
        OpenToOthers((folder / "system").string()) || OpenToOthers((folder / "reports").string());
    MakeInstallationPrivate(folder.string());
    if (openInstallation && m_settings.logLine) {
        m_settings.logLine(InstallationMadePrivateLine);
    }

    BeginStep();
    if (!ReadConfigFile()) {
        Report(MsgIconCritical | MsgButtonsOK, "Configuration Settings Error",
               "Configuration File Read Error: check the configuration file before "
               "continuing.");
        return Outcome::ConfigurationNotRead;
    }

    BeginStep();
    if (!ConnectDatabase()) {
        ReportDatabaseOpenFailure();
        CloseDatabase();
        return Outcome::DatabaseNotOpened;
    }

    BeginStep();
    if (!LoadSystemOptions()) {
        ReportOptionsFailure();
    }

    BeginStep();
    if (!BuildLists()) {
        Report(m_settings.listsIcon | MsgButtonsOK, m_settings.listsTitle, m_settings.listsText);
        CloseDatabase();
        return Outcome::ListsNotBuilt;
    }
    return Outcome::Ready;
}

bool ProgramStartUp::ReadConfigFile() {
    return Guarded([this] {
        if (!m_configFile) {
            m_configFile = std::make_shared<CFileAdaptor>();
        }
        const std::string path = ConfigFilePath();
        if (m_settings.refuseUnreadableConfiguration && PresentButUnreadable(path)) {
            return false;
        }
        return m_configFile->ReadFile(path);
    });
}

bool ProgramStartUp::GetCompanyList() {
    return Guarded([this] { return CCompanyList::Reload(m_companyList, m_database); });
}

bool ProgramStartUp::GetEmployeeList() {
    return Guarded([this] { return CEmployeeList::Reload(m_employeeList, m_database); });
}

bool ProgramStartUp::StartTimeRecordFactory() {
    // Both programs go on without a factory rather than stop here.
    try {
        // Time cards reach the one factory through the program-wide registry.
        Program::StartTimeRecordFactory(m_factory, m_database);
        return true;
    } catch (...) {
        SetLastFailureFromCurrentException(FailureSource);
        if (m_settings.stepsCatchFailures) {
            LogFailure();
        }
        return false;
    }
}

bool ProgramStartUp::ConnectDatabase() {
    return Guarded([this] {
        m_database = std::make_shared<CJetDB>(m_settings.variant);
        if (m_configFile) {
            m_database->SetBusyTimeout(ConfiguredBusyTimeout(*m_configFile));
        }
        m_locator = std::make_shared<CDatabaseLocator>();
        m_locator->SetConfigFile(m_configFile);
        if (!m_locator->GetDatabasePath() || m_locator->DatabasePath().empty()) {
            return false;
        }
        return m_database->OpenOrvanDatabase(m_locator);
    });
}

void ProgramStartUp::ReportDatabaseOpenFailure() {
    const int32_t databaseError = m_database ? m_database->ErrorNumber() : 0;
    const std::string text =
        HeldByAnotherProgram(databaseError)
            ? "The database is currently open in another application. Please close the "
              "database before continuing."
            : "The database cannot be opened because it is missing or corrupt.";
    if (m_settings.logEveryFailure) {
        LogStepFailure(text);
    } else if (m_database && IsServerDatabaseName(m_database->DatabaseName())) {
        // What a database server answered (not reached, login refused, no
        // Orvan tables) is nowhere else to be seen: the error log keeps it.
        LogFailure();
    }
    ShowMessage(MsgIconExclamation | MsgButtonsOK, "Database Open Error", text);
}

void ProgramStartUp::ReportOptionsFailure() {
    Report(MsgIconExclamation | MsgButtonsOK, "System Configuration Error",
           "An error occurred while loading system options. Check these options before "
           "continuing program usage.");
}

void ProgramStartUp::CloseDatabase() {
    if (m_database && m_database->DatabaseOpen()) {
        m_database->CloseDB();
    }
}

void ProgramStartUp::Release() {
    if (m_factory && Program::TimeRecordFactory() == m_factory) {
        Program::SetTimeRecordFactory(nullptr);
    }
    m_factory.reset();
    m_companyList.reset();
    m_employeeList.reset();
    m_database.reset();
    m_configFile.reset();
    m_locator.reset();
}

void ProgramStartUp::LogFailure() const {
    if (m_settings.logLine) {
        m_settings.logLine(ErrorLogLine(CError()));
    }
}

bool ProgramStartUp::LoadSystemOptions() {
    return Guarded([this] {
        m_systemOptions = std::make_shared<CSystemOptions>();
        m_systemOptions->SetConfigFile(m_configFile);
        m_systemOptions->SetOrvanDatabase(m_database);
        return m_systemOptions->Load();
    });
}

bool ProgramStartUp::BuildLists() {
    // All of them always run, in this order, so a failed list load still
    // leaves a working factory.
    const bool companies = !m_settings.withCompanyList || GetCompanyList();
    const bool employees = GetEmployeeList();
    const bool factory = StartTimeRecordFactory();
    return companies && employees && factory;
}

bool ProgramStartUp::Guarded(const std::function<bool()>& step) {
    if (!m_settings.stepsCatchFailures) {
        return step();
    }
    try {
        return step();
    } catch (...) {
        SetLastFailureFromCurrentException(FailureSource);
        LogFailure();
        return false;
    }
}

void ProgramStartUp::Report(int32_t style, const std::string& title, const std::string& text) {
    if (m_settings.logEveryFailure) {
        LogStepFailure(text);
    }
    ShowMessage(style, title, text);
}

void ProgramStartUp::BeginStep() {
    m_stepSerial = LastFailureSerial();
}

void ProgramStartUp::LogStepFailure(const std::string& text) const {
    if (!m_settings.logLine) {
        return;
    }
    // A step that failed without recording why (no database path in the
    // configuration file, for one) is described by its box.
    const Failure failure = LastFailure();
    const bool recorded = LastFailureSerial() != m_stepSerial && failure.Number != 0;
    m_settings.logLine(ErrorLogLine(recorded ? CError(failure) : CError(0, text)));
}

} // namespace orvan
