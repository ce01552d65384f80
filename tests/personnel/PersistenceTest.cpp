// Employees and companies saved and loaded through their own Save, SaveList
// and LoadList against a real installation's database.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/ObjectState.h"
#include "personnel/CCompany.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "storage/CJetDB.h"
#include "support/TestDatabase.h"

namespace orvan {
namespace {

std::shared_ptr<CEmployee> NewEmployee(int32_t number, const std::string& first,
                                       const std::string& last) {
    auto e = std::make_shared<CEmployee>();
    e->SetEmployeeNumber(number);
    e->SetFirstName(first);
    e->SetLastName(last);
    e->SetPayRate(12.5f);
    e->SetEmployeeActive(true);
    return e;
}

std::shared_ptr<CEmployeeList> LoadedEmployees(const std::shared_ptr<CJetDB>& db) {
    auto list = std::make_shared<CEmployeeList>();
    EXPECT_TRUE(list->LoadList(db));
    return list;
}

TEST(EmployeePersistence, NewEmployeesAreAddedBySaveListAndKeepTheirId) {
    test::TestDatabase tdb;
    auto db = tdb.NewJetDB();
    auto list = LoadedEmployees(db);
    ASSERT_EQ(list->Count(), 1); // the administrator
    auto added = NewEmployee(501, "Ann", "Lee");
    EXPECT_EQ(added->ObjectState(), StateNew);
    list->Insert(added, list->Count() + 1);

    EXPECT_TRUE(list->SaveList());
    EXPECT_EQ(list->ErrorNumber(), 0);
    EXPECT_EQ(added->ObjectState(), StateUnchanged);
    EXPECT_EQ(added->EmployeeID(), -1);
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM Employee WHERE EmployeeNumber = 501"), 1);
    // Nothing is pending any more: a second save adds nothing.
    EXPECT_TRUE(list->SaveList());
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM Employee"), 2);

    auto reloaded = LoadedEmployees(db);
    auto ann = reloaded->GetEmployeeByName("Ann Lee");
    ASSERT_NE(ann, nullptr);
    EXPECT_GT(ann->EmployeeID(), 0);
    EXPECT_EQ(ann->ObjectState(), StateUnchanged);
    EXPECT_FLOAT_EQ(ann->PayRate(), 12.5f);
}

TEST(EmployeePersistence, ChangedEmployeeIsUpdatedAndDeletedOneStays) {
    test::TestDatabase tdb;
    auto db = tdb.NewJetDB();
    const int32_t id = tdb.AddEmployee(600, "Bob", "Ray");
    auto list = LoadedEmployees(db);
    auto bob = list->GetEmployeeByID(id);
    ASSERT_NE(bob, nullptr);
    bob->SetPhone("555-0101");
    EXPECT_EQ(bob->ObjectState(), StateChanged);
    EXPECT_TRUE(bob->Save(db));
    EXPECT_EQ(bob->ObjectState(), StateUnchanged);
    EXPECT_EQ(tdb.QueryText("SELECT Phone FROM Employee WHERE EmployeeID = " + std::to_string(id)),
              "555-0101");

    // Deleting removes nothing and reports failure; the state is settled.
    bob->SetObjectState(StateDeleted);
    EXPECT_FALSE(bob->Save(db));
    EXPECT_EQ(bob->ObjectState(), StateUnchanged);
    EXPECT_EQ(
        tdb.QueryInt("SELECT count(*) FROM Employee WHERE EmployeeID = " + std::to_string(id)), 1);
}

TEST(EmployeePersistence, FailedUpdateIsNotRetried) {
    test::TestDatabase tdb;
    tdb.AddEmployee(700, "Cy", "Ode");
    auto db = tdb.NewJetDB();
    auto list = LoadedEmployees(db);
    tdb.Exec("DELETE FROM _StoredQuery WHERE Name = 'UpdateEmployee'");
    auto cy = list->GetEmployeeByNumber(700);
    ASSERT_NE(cy, nullptr);
    cy->SetCity("Nome");
    EXPECT_FALSE(list->SaveList());
    EXPECT_EQ(cy->ObjectState(), StateUnchanged);
    EXPECT_TRUE(list->SaveList());
}

// The installer's administrator row is the one IsAdministrator names.
TEST(EmployeePersistence, TheInstalledAdministratorIsTheAdministrator) {
    test::TestDatabase tdb;
    tdb.AddEmployee(800, "Di", "Eck");
    const auto list = LoadedEmployees(tdb.NewJetDB());
    ASSERT_EQ(list->Count(), 2);
    const auto administrator = list->GetEmployeeByName("administrator");
    ASSERT_NE(administrator, nullptr);
    EXPECT_EQ(administrator->EmployeeID(), CEmployee::AdministratorID);
    EXPECT_EQ(administrator->EmployeeNumber(), 0);
    EXPECT_TRUE(administrator->IsAdministrator());
    EXPECT_FALSE(list->GetEmployeeByNumber(800)->IsAdministrator());
}

TEST(EmployeePersistence, LoadListAddsInFrontAndFailsWith301) {
    test::TestDatabase tdb;
    tdb.AddEmployee(800, "Di", "Eck");
    auto db = tdb.NewJetDB();
    auto list = std::make_shared<CEmployeeList>();
    auto mine = NewEmployee(1, "", "Mine");
    list->Insert(mine, 1);
    EXPECT_TRUE(list->LoadList(db));
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Item(3), mine);
    EXPECT_NE(list->GetEmployeeByNumber(800), nullptr);

    // A list that no shared_ptr owns loads as well.
    CEmployeeList plain;
    EXPECT_TRUE(plain.LoadList(db));
    EXPECT_EQ(plain.Count(), 2);

    tdb.Exec("DROP TABLE _StoredQuery");
    auto failing = std::make_shared<CEmployeeList>();
    EXPECT_FALSE(failing->LoadList(db));
    EXPECT_EQ(failing->ErrorNumber(), 301);
    EXPECT_EQ(failing->Count(), 0);
}

TEST(CompanyPersistence, NewCompanyIsAddedAndKeepsItsId) {
    test::TestDatabase tdb;
    auto db = tdb.NewJetDB();
    auto list = std::make_shared<CCompanyList>();
    EXPECT_TRUE(list->LoadList(db));
    EXPECT_EQ(list->Count(), 0);
    auto company = std::make_shared<CCompany>();
    company->SetCompanyName("Acme");
    company->SetCity("Dayton");
    EXPECT_EQ(company->ObjectState(), StateNew);
    list->Insert(company, 1);
    EXPECT_TRUE(list->SaveList());
    EXPECT_EQ(company->ObjectState(), StateUnchanged);
    EXPECT_EQ(company->CompanyID(), -1);

    auto reloaded = std::make_shared<CCompanyList>();
    EXPECT_TRUE(reloaded->LoadList(db));
    auto acme = reloaded->GetCompanyByName("Acme");
    ASSERT_NE(acme, nullptr);
    EXPECT_GT(acme->CompanyID(), 0);
    acme->SetCity("Akron");
    EXPECT_TRUE(acme->Save(db));
    EXPECT_EQ(tdb.QueryText("SELECT City FROM Company"), "Akron");
    acme->SetObjectState(StateDeleted);
    EXPECT_FALSE(acme->Save(db));
    EXPECT_EQ(acme->ObjectState(), StateUnchanged);
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM Company"), 1);
}

} // namespace
} // namespace orvan
