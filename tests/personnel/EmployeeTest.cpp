#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/DateTime.h"
#include "core/ObjectState.h"
#include "personnel/CEmployee.h"

using orvan::CEmployee;
using orvan::DateTime;

namespace {

std::shared_ptr<CEmployee> FullEmployee() {
    auto e = std::make_shared<CEmployee>();
    e->SetFirstName("John");
    e->SetLastName("Smith");
    e->SetSSN("123-45-6789");
    e->SetAddress1("12 Main Street");
    e->SetAddress2("Apt 4");
    e->SetCity("Springfield");
    e->SetState("IL");
    e->SetZipCode("62701");
    e->SetPhone("555-1234");
    e->SetDateOfBirth(DateTime::FromParts(1970, 3, 5));
    e->SetEmployeeNumber(1042);
    e->SetEmployeeActive(true);
    e->SetHireDate(DateTime::FromParts(2001, 11, 19));
    e->SetPayRate(12.25f);
    e->SetOvertimePayRate(18.375f);
    return e;
}

} // namespace

// The administrator by number (0) or by its own record's ID, never by name.
TEST(Employee, IsAdministratorByNumberZeroOrTheAdministratorsID) {
    EXPECT_EQ(CEmployee::AdministratorID, 39);
    CEmployee byNumber;
    byNumber.SetEmployeeID(52);
    byNumber.SetEmployeeNumber(0);
    EXPECT_TRUE(byNumber.IsAdministrator());

    CEmployee byID;
    byID.SetEmployeeID(CEmployee::AdministratorID);
    byID.SetEmployeeNumber(1042);
    EXPECT_TRUE(byID.IsAdministrator());

    const auto named = FullEmployee();
    named->SetEmployeeID(40);
    named->SetLastName("administrator");
    EXPECT_FALSE(named->IsAdministrator());
    for (int32_t id : {-1, 1, 38, 40, 390}) {
        named->SetEmployeeID(id);
        EXPECT_FALSE(named->IsAdministrator()) << id;
    }
    named->SetEmployeeNumber(0);
    EXPECT_TRUE(named->IsAdministrator());
}

TEST(Employee, InitialValues) {
    CEmployee e;
    EXPECT_EQ(e.EmployeeID(), -1);
    EXPECT_EQ(e.SSN(), "");
    EXPECT_EQ(e.EmployeeNumber(), 0);
    EXPECT_EQ(e.FirstName(), "");
    EXPECT_EQ(e.LastName(), "");
    EXPECT_EQ(e.Password(), "");
    EXPECT_EQ(e.PayRate(), 0.0f);
    EXPECT_EQ(e.OvertimePayRate(), 0.0f);
    EXPECT_TRUE(e.DateOfBirth().IsZero());
    EXPECT_TRUE(e.HireDate().IsZero());
    EXPECT_TRUE(e.ReleaseDate().IsZero());
    EXPECT_FALSE(e.EmployeeActive());
    EXPECT_EQ(e.CompanyID(), 0);
    EXPECT_FALSE(e.AutoDeduct());
    EXPECT_EQ(e.AutoDeductLunchLength(), 0);
    EXPECT_EQ(e.AutoDeductBreakLength(), 0);
    EXPECT_EQ(e.ObjectState(), orvan::StateNew);
    EXPECT_EQ(e.ErrorNumber(), 0);
}

TEST(Employee, SettersKeepNewAndMarkOthersChanged) {
    CEmployee e;
    e.SetSSN("1");
    e.SetEmployeeNumber(7);
    e.SetFirstName("a");
    e.SetLastName("b");
    e.SetAddress1("c");
    e.SetAddress2("d");
    e.SetCity("e");
    e.SetState("f");
    e.SetZipCode("g");
    e.SetPhone("h");
    e.SetPassword("i");
    e.SetPayRate(1.5f);
    e.SetOvertimePayRate(2.5f);
    e.SetDateOfBirth(DateTime::FromParts(1980, 1, 1));
    e.SetHireDate(DateTime::FromParts(2000, 1, 1));
    e.SetReleaseDate(DateTime::FromParts(2001, 1, 1));
    e.SetEmployeeActive(true);
    e.SetCompanyID(3);
    e.SetAutoDeduct(true);
    e.SetAutoDeductLunchLength(30);
    e.SetAutoDeductBreakLength(15);
    EXPECT_EQ(e.ObjectState(), orvan::StateNew);
    EXPECT_EQ(e.AutoDeductLunchLength(), 30);
    EXPECT_EQ(e.PayRate(), 1.5f);

    // Setting -1 leaves the state alone; any other identifier marks it changed.
    e.SetEmployeeID(-1);
    EXPECT_EQ(e.ObjectState(), orvan::StateNew);
    e.SetEmployeeID(12);
    EXPECT_EQ(e.ObjectState(), orvan::StateChanged);
    EXPECT_EQ(e.EmployeeID(), 12);

    for (int32_t from : {orvan::StateUnchanged, orvan::StateDeleted, 42}) {
        e.SetObjectState(from);
        EXPECT_EQ(e.ObjectState(), from);
        e.SetCity("x");
        EXPECT_EQ(e.ObjectState(), orvan::StateChanged);
    }
    e.SetObjectState(orvan::StateUnchanged);
    e.SetEmployeeID(-1);
    EXPECT_EQ(e.ObjectState(), orvan::StateUnchanged);
}

TEST(Employee, DisplayName) {
    CEmployee e;
    e.SetLastName("Smith");
    EXPECT_EQ(e.DisplayName(), "Smith");
    e.SetFirstName("John");
    EXPECT_EQ(e.DisplayName(), "John Smith");
}

TEST(Employee, SaveWithNothingToDo) {
    CEmployee e;
    e.SetObjectState(orvan::StateUnchanged);
    EXPECT_FALSE(e.Save(nullptr));
    EXPECT_EQ(e.ErrorNumber(), 803);
    EXPECT_EQ(e.ObjectState(), orvan::StateUnchanged);

    e.SetObjectState(9);
    EXPECT_FALSE(e.Save(nullptr));
    EXPECT_EQ(e.ErrorNumber(), 803);
    EXPECT_EQ(e.ObjectState(), orvan::StateUnchanged);
}

TEST(Employee, SaveWithoutDatabaseKeepsPendingChange) {
    auto e = std::make_shared<CEmployee>();
    e->SetLastName("Smith");
    EXPECT_FALSE(e->Save(nullptr));
    EXPECT_EQ(e->ErrorNumber(), 803);
    EXPECT_EQ(e->ObjectState(), orvan::StateNew);
}

TEST(Employee, ToStringFull) {
    auto e = FullEmployee();
    EXPECT_EQ(e->ToString(), "Last Name:  Smith\t\t\tFirst Name:  John\r\n"
                             "Social Security Number:   123-45-6789\r\n"
                             "Address: \r\n"
                             "\t12 Main Street\r\n"
                             "\tApt 4\r\n"
                             "\tSpringfield, IL. 62701\r\n"
                             "Phone Number: \t\t555-1234\r\n"
                             "Date Of Birth: \t03/05/1970\r\n"
                             "Employee Number: \t1042\r\n"
                             "Employee Active: \tThis employee is active.\r\n"
                             "Hire Date: \t11/19/2001\r\n"
                             "Release Date: \r\n"
                             "Current Rate of Pay: \t$12.25/hour\r\n"
                             "Overtime Rate of Pay: \t$18.375/hour\r\n");
    EXPECT_EQ(e->ErrorNumber(), 0);
}

TEST(Employee, ToStringWithoutFirstNameOrSecondAddressLine) {
    CEmployee e;
    e.SetLastName("Jones");
    e.SetSSN("999");
    e.SetAddress1("1 Elm");
    e.SetCity("Dayton");
    e.SetState("OH");
    e.SetZipCode("45402");
    e.SetPhone("555");
    e.SetEmployeeNumber(7);
    e.SetReleaseDate(DateTime::FromParts(2006, 12, 31));
    e.SetPayRate(12.5f);
    e.SetOvertimePayRate(10.0f);
    EXPECT_EQ(e.ToString(), "Name: \tJones\r\n"
                            "Social Security Number:   999\r\n"
                            "Address: \r\n"
                            "\t1 Elm\r\n"
                            "\tDayton, OH. 45402\r\n"
                            "Phone Number: \t\t555\r\n"
                            "Date Of Birth: \r\n"
                            "Employee Number: \t7\r\n"
                            "Employee Active: \tThis employee is NOT active.\r\n"
                            "Hire Date: \r\n"
                            "Release Date: \t12/31/2006\r\n"
                            "Current Rate of Pay: \t$12.5/hour\r\n"
                            "Overtime Rate of Pay: \t$10/hour\r\n");
}

TEST(Employee, ToStringTimeCard) {
    auto e = FullEmployee();
    EXPECT_EQ(e->ToStringTimeCard(), "Name:  \t\t\t\tJohn Smith\r\n"
                                     "Social Security Number: \t123-45-6789\r\n");
    e->SetFirstName("");
    EXPECT_EQ(e->ToStringTimeCard(), "Name: \t\t\t\tSmith\r\n"
                                     "Social Security Number: \t123-45-6789\r\n");
}

TEST(Employee, ToStringReview) {
    auto e = FullEmployee();
    EXPECT_EQ(e->ToStringReview(), "Name:  John Smith\t\tSocial Security Number:  123-45-6789\r\n"
                                   "Employee Number:  1042\r\n"
                                   "Address: \r\n"
                                   "\t12 Main Street\r\n"
                                   "\tApt 4\r\n"
                                   "\tSpringfield, IL. 62701\r\n"
                                   "Phone Number: \t555-1234\r\n"
                                   "Date Of Birth: \t03/05/1970\r\n");
    e->SetFirstName("");
    e->SetAddress2("");
    e->SetDateOfBirth(DateTime());
    e->SetEmployeeNumber(-3);
    EXPECT_EQ(e->ToStringReview(), "Name:  Smith\t\tSocial Security Number:  123-45-6789\r\n"
                                   "Employee Number:  -3\r\n"
                                   "Address: \r\n"
                                   "\t12 Main Street\r\n"
                                   "\tSpringfield, IL. 62701\r\n"
                                   "Phone Number: \t555-1234\r\n"
                                   "Date Of Birth: \r\n");
}
