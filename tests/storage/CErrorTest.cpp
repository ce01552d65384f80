#include "storage/CError.h"

#include <cerrno>
#include <new>
#include <stdexcept>
#include <system_error>

#include <gtest/gtest.h>

#include "storage/CFile.h"
#include "storage/Failure.h"
#include "support/TestSupport.h"

namespace orvan {
namespace {

class CErrorTest : public ::testing::Test {
protected:
    void SetUp() override { ClearLastFailure(); }
    void TearDown() override { ClearLastFailure(); }
};

TEST_F(CErrorTest, SnapshotsTheFailureBeingHandled) {
    errno = ENOENT;
    SetLastFailure(3044, "CJetDB", "Could not find file.", 5003044);
    errno = 0;

    CError err;
    EXPECT_EQ(err.ErrorNumber(), 3044);
    EXPECT_EQ(err.ErrorSource(), "CJetDB");
    EXPECT_EQ(err.ErrorDescription(), "Could not find file.");
    EXPECT_EQ(err.HelpContext(), 5003044);
    EXPECT_EQ(err.LastSystemError(), ENOENT);
    EXPECT_EQ(err.ModuleName(), "");
    EXPECT_EQ(err.AdditionalDescription(), "");
    EXPECT_EQ(err.MsgBoxRetVal(), 0);

    // A snapshot: later failures do not change it.
    SetLastFailure(91, "", "Object variable not set");
    EXPECT_EQ(err.ErrorNumber(), 3044);
    EXPECT_EQ(CError().ErrorNumber(), 91);
}

TEST_F(CErrorTest, WithoutAFailureEverythingIsEmpty) {
    CError err;
    EXPECT_EQ(err.ErrorNumber(), 0);
    EXPECT_EQ(err.ErrorSource(), "");
    EXPECT_EQ(err.ErrorDescription(), "");
    EXPECT_EQ(err.HelpContext(), 0);
    EXPECT_EQ(err.LastSystemError(), 0);
}

TEST_F(CErrorTest, DirectConstructionTakesErrno) {
    errno = EACCES;
    CError err(70, "Permission denied", "CFile", 7);
    EXPECT_EQ(err.ErrorNumber(), 70);
    EXPECT_EQ(err.ErrorDescription(), "Permission denied");
    EXPECT_EQ(err.ErrorSource(), "CFile");
    EXPECT_EQ(err.HelpContext(), 7);
    EXPECT_EQ(err.LastSystemError(), EACCES);
    errno = 0;
}

TEST_F(CErrorTest, SetLastFailureKeepsErrnoAndClearForgets) {
    errno = EIO;
    SetLastFailure(57, "CFile", "Device I/O error");
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(LastFailure().LastSystemError, EIO);
    ClearLastFailure();
    const Failure none = LastFailure();
    EXPECT_EQ(none.Number, 0);
    EXPECT_EQ(none.Source, "");
    EXPECT_EQ(none.Description, "");
    EXPECT_EQ(none.LastSystemError, 0);
    errno = 0;
}

TEST_F(CErrorTest, ExceptionsBecomeFailures) {
    auto recorded = [](auto thrower) {
        try {
            thrower();
        } catch (...) {
            SetLastFailureFromCurrentException("CController");
        }
        return LastFailure();
    };
    Failure f = recorded([] { throw std::bad_alloc(); });
    EXPECT_EQ(f.Number, 7);
    EXPECT_EQ(f.Description, "Out of memory");
    EXPECT_EQ(f.Source, "CController");
    f = recorded([] { throw std::invalid_argument("stoi"); });
    EXPECT_EQ(f.Number, 13);
    EXPECT_EQ(f.Description, "Type mismatch");
    f = recorded([] { throw std::out_of_range("at"); });
    EXPECT_EQ(f.Number, 9);
    EXPECT_EQ(f.Description, "Subscript out of range");
    f = recorded([] { throw std::overflow_error("big"); });
    EXPECT_EQ(f.Number, 6);
    EXPECT_EQ(f.Description, "Overflow");
    f = recorded([] { throw std::runtime_error("the disk is on fire"); });
    EXPECT_EQ(f.Number, 5);
    EXPECT_EQ(f.Description, "the disk is on fire");
    f = recorded([] { throw 42; });
    EXPECT_EQ(f.Number, 5);
    EXPECT_EQ(f.Description, "Invalid procedure call or argument");

    // A system error's code stays the system's: the number is the runtime's
    // for it, the code the failure's last system error.
    errno = 0;
    f = recorded([] { throw std::system_error(ENOENT, std::generic_category(), "open"); });
    EXPECT_EQ(f.Number, 53);
    EXPECT_EQ(f.LastSystemError, ENOENT);
    EXPECT_NE(f.Description.find("open"), std::string::npos) << f.Description;
    f = recorded([] { throw std::system_error(ENOSPC, std::system_category(), "write"); });
    EXPECT_EQ(f.Number, 61);
    EXPECT_EQ(f.LastSystemError, ENOSPC);
    EXPECT_EQ(errno, 0);
}

TEST_F(CErrorTest, InsideACatchBlockTheExceptionIsTheFailure) {
    // A stale recorded failure does not hide the exception being handled.
    SetLastFailure(3044, "CJetDB", "Could not find file.");
    try {
        throw std::out_of_range("index 9");
    } catch (...) {
        CError err;
        EXPECT_EQ(err.ErrorNumber(), 9);
        EXPECT_EQ(err.ErrorDescription(), "Subscript out of range");
        EXPECT_EQ(err.ErrorSource(), "");
    }
    // Recorded for the exception: the recorded source is kept.
    try {
        throw std::runtime_error("the disk is on fire");
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        CError err;
        EXPECT_EQ(err.ErrorNumber(), 5);
        EXPECT_EQ(err.ErrorDescription(), "the disk is on fire");
        EXPECT_EQ(err.ErrorSource(), "CController");
    }
    // Outside the catch block the recorded failure counts again.
    EXPECT_EQ(CError().ErrorDescription(), "the disk is on fire");
}

TEST_F(CErrorTest, FailureOfAFileEndsWithTheFile) {
    {
        CFile file;
        EXPECT_FALSE(file.OpenFile("/no/such/folder/x.txt", 0));
        EXPECT_EQ(CError().ErrorNumber(), 76);
    }
    CError err;
    EXPECT_EQ(err.ErrorNumber(), 0);
    EXPECT_EQ(err.ErrorDescription(), "");
    err.SetErrorDescription("");
    EXPECT_EQ(err.ErrorDescription(), "No Error Description Available");

    // A failure recorded after the file's stays when the file goes.
    {
        CFile file;
        EXPECT_FALSE(file.OpenFile("/no/such/folder/x.txt", 0));
        SetLastFailure(3051, "CJetDB", "Could not open the file.");
    }
    EXPECT_EQ(CError().ErrorNumber(), 3051);
}

TEST_F(CErrorTest, ErrorDescriptionAppends) {
    CError err(13, "Type mismatch");
    err.SetErrorDescription("abc");
    EXPECT_EQ(err.ErrorDescription(), "Type mismatchabc");
    err.SetErrorDescription("");
    EXPECT_EQ(err.ErrorDescription(), "Type mismatchabc");

    CError empty(5, "");
    empty.SetErrorDescription("");
    EXPECT_EQ(empty.ErrorDescription(), "No Error Description Available");
    empty.SetErrorDescription("");
    EXPECT_EQ(empty.ErrorDescription(), "No Error Description Available");
}

TEST_F(CErrorTest, ModuleNameAndAdditionalDescription) {
    CError err(1, "x");
    err.SetModuleName("");
    EXPECT_EQ(err.ModuleName(), "No module name available");
    err.SetModuleName("CController");
    EXPECT_EQ(err.ModuleName(), "CController");
    err.SetAdditionalDescription("more");
    EXPECT_EQ(err.AdditionalDescription(), "more");
    err.SetAdditionalDescription("");
    EXPECT_EQ(err.AdditionalDescription(), "");
}

TEST_F(CErrorTest, MessageBoxTwoLinesWithDefaults) {
    test::ScopedMessageBox box;
    CError err(91, "Object variable or With block variable not set");
    EXPECT_EQ(err.MessageBox(), MsgResultOK);
    ASSERT_EQ(box->shown.size(), 1u);
    EXPECT_EQ(box->shown[0].style, 48);
    EXPECT_EQ(box->shown[0].title, "Error Number: 91");
    EXPECT_EQ(box->shown[0].text, "The following error ocurred in module \r\n"
                                  "91: Object variable or With block variable not set");
    EXPECT_EQ(box->pointerResets, 1);
    EXPECT_EQ(err.MsgBoxRetVal(), MsgResultOK);
}

TEST_F(CErrorTest, MessageBoxWithEveryPart) {
    test::ScopedMessageBox box;
    SetLastFailure(3044, "DAO.Workspace", "Not a valid path.");
    CError err;
    err.SetModuleName("CController");
    err.SetAdditionalDescription("Check the configuration file.");
    err.MessageBox();
    ASSERT_EQ(box->shown.size(), 1u);
    EXPECT_EQ(box->shown[0].text, "The following error ocurred in module CController\r\n"
                                  "Error Source: DAO.Workspace\r\n"
                                  "3044: Not a valid path.\r\n"
                                  "Check the configuration file.");
    EXPECT_EQ(box->shown[0].title, "Error Number: 3044");
}

TEST_F(CErrorTest, MessageBoxNumericTextArguments) {
    test::ScopedMessageBox box;
    box->answers = {MsgResultNo, MsgResultYes, MsgResultOK, MsgResultOK};
    CError err(5, "Invalid procedure call or argument");

    EXPECT_EQ(err.MessageBox(std::string("16"), std::string("4")), MsgResultNo);
    EXPECT_EQ(err.MsgBoxRetVal(), MsgResultNo);
    EXPECT_EQ(err.MessageBox(" 16 ", "4.0"), MsgResultYes);
    EXPECT_EQ(err.MsgBoxRetVal(), MsgResultYes);
    // Text that is not a number falls back to the exclamation icon and OK.
    err.MessageBox("critical", "yesno");
    err.MessageBox("", "&H4");
    ASSERT_EQ(box->shown.size(), 4u);
    EXPECT_EQ(box->shown[0].style, 16 + 4);
    EXPECT_EQ(box->shown[1].style, 16 + 4);
    EXPECT_EQ(box->shown[2].style, 48);
    EXPECT_EQ(box->shown[3].style, 48);
    EXPECT_EQ(box->pointerResets, 4);
}

TEST_F(CErrorTest, MessageBoxNumericCodes) {
    test::ScopedMessageBox box;
    box->answers = {MsgResultYes};
    CError err(5, "x");
    EXPECT_EQ(err.MessageBox(MsgIconCritical, MsgButtonsYesNo), MsgResultYes);
    EXPECT_EQ(err.MessageBox(MsgIconCritical), MsgResultOK);
    ASSERT_EQ(box->shown.size(), 2u);
    EXPECT_EQ(box->shown[0].style, 20);
    EXPECT_EQ(box->shown[1].style, 16);
    EXPECT_EQ(err.MsgBoxRetVal(), MsgResultOK);
}

} // namespace
} // namespace orvan
