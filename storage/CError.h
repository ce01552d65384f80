#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "storage/Failure.h"

namespace orvan {

// A snapshot of a failure, made inside a failure path, that can describe
// itself in a message box.
//
// The default constructor copies the failure being handled: inside a catch
// block the exception in flight, otherwise the last recorded failure
// (LastFailure() of storage/Failure.h): number, source, description, help
// context and the last operating-system error. Callers may then add a module name and further text
// and show the whole in the standard error message box. CError never fails on
// its own account; empty values are shown as empty.
class CError {
public:
    // Snapshot of the exception being handled, or else of LastFailure().
    CError();
    // Snapshot of the given failure.
    explicit CError(const Failure& failure);
    // A failure described directly; the last operating-system error is errno
    // at the time of the call.
    CError(int32_t number, const std::string& description, const std::string& source = "",
           int32_t helpContext = 0);

    int32_t ErrorNumber() const { return m_errorNumber; }
    const std::string& ErrorSource() const { return m_errorSource; }
    const std::string& ErrorDescription() const { return m_errorDescription; }
    // Appends `thisDesc` to the description without a separator. An empty
    // text leaves a description alone, or gives "No Error Description
    // Available" when there is none.
    void SetErrorDescription(const std::string& thisDesc);
    const std::string& AdditionalDescription() const { return m_additionalDescription; }
    void SetAdditionalDescription(const std::string& thisDesc);
    int32_t HelpContext() const { return m_helpContext; }
    int32_t LastSystemError() const { return m_lastSystemError; }
    const std::string& ModuleName() const { return m_moduleName; }
    // Stores `thisModule`, or "No module name available" when it is empty.
    void SetModuleName(const std::string& thisModule);
    // Code of the button pressed in the last MessageBox; 0 before the first.
    int16_t MsgBoxRetVal() const { return m_msgBoxRetVal; }

    // Shows the error in a message box titled "Error Number: <number>" and
    // returns (and keeps in MsgBoxRetVal) the code of the button pressed. The
    // icon code is 48 (exclamation) and the button-set code 0 (OK) unless the
    // argument is given and reads as a number (" 16 ", "16", "4.0"); text that
    // is not a number is ignored. The message reads
    //     The following error ocurred in module <ModuleName>
    //     Error Source: <ErrorSource>          (only when there is a source)
    //     <ErrorNumber>: <ErrorDescription>
    //     <AdditionalDescription>              (only when there is one)
    // with CR LF between the lines. The mouse pointer is reset to the arrow
    // first.
    int16_t MessageBox(const std::optional<std::string>& userIcon = std::nullopt,
                       const std::optional<std::string>& userButtons = std::nullopt);
    // The same with numeric codes: MessageBox(MsgIconCritical, MsgButtonsYesNo).
    int16_t MessageBox(int32_t userIcon, int32_t userButtons = 0);

    // The message box text and title MessageBox shows.
    std::string MessageText() const;
    std::string MessageTitle() const;

private:
    int16_t Show(int32_t icon, int32_t buttons);

    int32_t m_errorNumber = 0;
    std::string m_errorSource;
    std::string m_errorDescription;
    std::string m_additionalDescription;
    int32_t m_helpContext = 0;
    int32_t m_lastSystemError = 0;
    std::string m_moduleName;
    int16_t m_msgBoxRetVal = 0;
};

} // namespace orvan
