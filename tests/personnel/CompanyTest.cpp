#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/ObjectState.h"
#include "personnel/CCompany.h"

using orvan::CCompany;

TEST(Company, InitialValues) {
    CCompany c;
    EXPECT_EQ(c.CompanyID(), -1);
    EXPECT_EQ(c.CompanyName(), "");
    EXPECT_EQ(c.Address1(), "");
    EXPECT_EQ(c.Address2(), "");
    EXPECT_EQ(c.City(), "");
    EXPECT_EQ(c.State(), "");
    EXPECT_EQ(c.ZipCode(), "");
    EXPECT_EQ(c.Phone(), "");
    EXPECT_EQ(c.Fax(), "");
    EXPECT_EQ(c.FederalTaxID(), "");
    EXPECT_EQ(c.URL(), "");
    EXPECT_EQ(c.ObjectState(), orvan::StateNew);
    EXPECT_EQ(c.ErrorNumber(), 0);
}

TEST(Company, StateRulesOfTheSetters) {
    CCompany c;
    c.SetCompanyName("Acme");
    c.SetAddress1("1");
    c.SetAddress2("2");
    c.SetCity("3");
    c.SetState("4");
    c.SetZipCode("5");
    c.SetPhone("6");
    c.SetFax("7");
    c.SetFederalTaxID("8");
    c.SetURL("9");
    EXPECT_EQ(c.ObjectState(), orvan::StateNew);
    c.SetCompanyID(-1);
    EXPECT_EQ(c.ObjectState(), orvan::StateNew);
    c.SetCompanyID(4);
    EXPECT_EQ(c.ObjectState(), orvan::StateChanged);
    c.SetObjectState(orvan::StateUnchanged);
    c.SetURL("x");
    EXPECT_EQ(c.ObjectState(), orvan::StateChanged);
    c.SetObjectState(orvan::StateDeleted);
    c.SetFax("y");
    EXPECT_EQ(c.ObjectState(), orvan::StateChanged);
}

TEST(Company, SaveWithNothingToDo) {
    CCompany c;
    c.SetObjectState(orvan::StateUnchanged);
    EXPECT_FALSE(c.Save(nullptr));
    EXPECT_EQ(c.ErrorNumber(), 321);
    EXPECT_EQ(c.ObjectState(), orvan::StateUnchanged);

    CCompany n;
    EXPECT_FALSE(n.Save(nullptr));
    EXPECT_EQ(n.ErrorNumber(), 321);
    EXPECT_EQ(n.ObjectState(), orvan::StateNew);
}

TEST(Company, ToString) {
    CCompany c;
    c.SetCompanyName("Acme Tools");
    c.SetAddress1("100 Industrial Way");
    c.SetAddress2("Suite 5");
    c.SetCity("Peoria");
    c.SetState("IL");
    c.SetZipCode("61602");
    c.SetPhone("555-0100");
    c.SetFax("555-0101");
    c.SetFederalTaxID("36-1234567");
    c.SetURL("www.acme.example");
    EXPECT_EQ(c.ToString(), "Company Name: \tAcme Tools\r\n"
                            "Address: \r\n"
                            "\t100 Industrial Way\r\n"
                            "\tSuite 5\r\n"
                            "\tPeoria, IL. 61602\r\n"
                            "Phone Number: \t\t555-0100\r\n"
                            "Fax Number: \t\t555-0101\r\n"
                            "Tax ID Number:   36-1234567\r\n"
                            "Website URL: \twww.acme.example\r\n");
    c.SetAddress2("");
    EXPECT_EQ(c.ToString(), "Company Name: \tAcme Tools\r\n"
                            "Address: \r\n"
                            "\t100 Industrial Way\r\n"
                            "\tPeoria, IL. 61602\r\n"
                            "Phone Number: \t\t555-0100\r\n"
                            "Fax Number: \t\t555-0101\r\n"
                            "Tax ID Number:   36-1234567\r\n"
                            "Website URL: \twww.acme.example\r\n");
    EXPECT_EQ(c.ErrorNumber(), 0);
}
