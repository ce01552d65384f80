#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/ObjectState.h"
#include "personnel/CCompany.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"

using orvan::CCompany;
using orvan::CCompanyList;
using orvan::CEmployee;
using orvan::CEmployeeList;

namespace {

// The two lists share their positional rules; these traits let one set of
// cases run against both.
struct EmployeeTraits {
    using List = CEmployeeList;
    using Item = CEmployee;
    static std::shared_ptr<Item> Make(int32_t company) {
        auto e = std::make_shared<CEmployee>();
        e->SetCompanyID(company);
        return e;
    }
};

struct CompanyTraits {
    using List = CCompanyList;
    using Item = CCompany;
    static std::shared_ptr<Item> Make(int32_t company) {
        auto c = std::make_shared<CCompany>();
        c->SetCompanyID(company);
        return c;
    }
};

template <typename T> class ObjectList : public ::testing::Test {
protected:
    using List = typename T::List;
    using Item = typename T::Item;

    // A list holding n items; item k has company k.
    std::shared_ptr<List> Filled(int n) {
        auto list = std::make_shared<List>();
        for (int k = 1; k <= n; ++k) {
            items.push_back(T::Make(k));
            list->Insert(items.back(), k);
        }
        return list;
    }

    std::vector<std::shared_ptr<Item>> Contents(const List& list) {
        std::vector<std::shared_ptr<Item>> out;
        for (int32_t k = 1; k <= list.Count(); ++k) {
            out.push_back(list.Item(k));
        }
        return out;
    }

    std::vector<std::shared_ptr<Item>> items;
};

using ListKinds = ::testing::Types<EmployeeTraits, CompanyTraits>;
TYPED_TEST_SUITE(ObjectList, ListKinds);

TYPED_TEST(ObjectList, InsertClampsItsPosition) {
    auto list = this->Filled(3);
    auto& a = this->items;
    auto d = TypeParam::Make(0);
    EXPECT_EQ(list->Insert(d, 99), d);
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Item(4), d);
    auto e = TypeParam::Make(0);
    EXPECT_EQ(list->Insert(e, 0), e);
    EXPECT_EQ(list->Item(1), e);
    auto f = TypeParam::Make(0);
    EXPECT_EQ(list->Insert(f, 3), f);
    using V = std::vector<std::shared_ptr<typename TypeParam::Item>>;
    EXPECT_EQ(this->Contents(*list), (V{e, a[0], f, a[1], a[2], d}));
    EXPECT_EQ(list->ErrorNumber(), 0);
}

TYPED_TEST(ObjectList, InsertKeepsTheState) {
    auto list = std::make_shared<typename TypeParam::List>();
    auto x = TypeParam::Make(1);
    x->SetObjectState(orvan::StateUnchanged);
    list->Insert(x, 1);
    EXPECT_EQ(x->ObjectState(), orvan::StateUnchanged);
}

TYPED_TEST(ObjectList, InsertRefusesNull) {
    auto list = this->Filled(1);
    EXPECT_EQ(list->Insert(nullptr, 1), nullptr);
    EXPECT_EQ(list->ErrorNumber(), 312);
    EXPECT_EQ(list->Count(), 1);
}

TYPED_TEST(ObjectList, ItemOutsideGivesNullWithoutError) {
    auto list = this->Filled(2);
    EXPECT_EQ(list->Item(0), nullptr);
    EXPECT_EQ(list->Item(3), nullptr);
    EXPECT_EQ(list->Item(-5), nullptr);
    EXPECT_EQ(list->ErrorNumber(), 0);
    EXPECT_EQ(list->Item(2), this->items[1]);
}

TYPED_TEST(ObjectList, Remove) {
    auto list = this->Filled(3);
    auto& a = this->items;
    EXPECT_EQ(list->Remove(0), nullptr);
    EXPECT_EQ(list->ErrorNumber(), 351);
    EXPECT_EQ(list->Remove(4), nullptr);
    EXPECT_EQ(list->ErrorNumber(), 351);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Remove(2), a[1]);
    EXPECT_EQ(list->ErrorNumber(), 0);
    using V = std::vector<std::shared_ptr<typename TypeParam::Item>>;
    EXPECT_EQ(this->Contents(*list), (V{a[0], a[2]}));
}

TYPED_TEST(ObjectList, Move) {
    using V = std::vector<std::shared_ptr<typename TypeParam::Item>>;
    auto list = this->Filled(3);
    auto& a = this->items;
    EXPECT_EQ(list->Move(3, 1), a[2]);
    EXPECT_EQ(this->Contents(*list), (V{a[2], a[0], a[1]}));
    EXPECT_EQ(list->Move(1, 3), a[2]);
    EXPECT_EQ(this->Contents(*list), (V{a[0], a[1], a[2]}));
    EXPECT_EQ(list->Move(1, 99), a[0]);
    EXPECT_EQ(this->Contents(*list), (V{a[1], a[2], a[0]}));
    EXPECT_EQ(list->Move(7, 1), nullptr);
    EXPECT_EQ(list->ErrorNumber(), 351);
    EXPECT_EQ(this->Contents(*list), (V{a[1], a[2], a[0]}));
}

TYPED_TEST(ObjectList, CreateKeepsItemsDestroyEmpties) {
    auto list = this->Filled(2);
    EXPECT_TRUE(list->Create());
    EXPECT_EQ(list->Count(), 2);
    EXPECT_TRUE(list->Destroy());
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->Item(1), nullptr);
    // The items themselves live on with their other holders.
    EXPECT_EQ(this->items[0].use_count(), 1);
}

TYPED_TEST(ObjectList, WeedList) {
    using V = std::vector<std::shared_ptr<typename TypeParam::Item>>;
    auto empty = std::make_shared<typename TypeParam::List>();
    EXPECT_TRUE(empty->WeedList(0));
    EXPECT_EQ(empty->ErrorNumber(), 0);
    EXPECT_TRUE(empty->WeedList(3));
    EXPECT_EQ(empty->ErrorNumber(), 331);

    auto list = this->Filled(3);
    auto& a = this->items;
    auto more = TypeParam::Make(2);
    list->Insert(more, 1);
    EXPECT_TRUE(list->WeedList(0));
    EXPECT_EQ(list->Count(), 4);
    EXPECT_TRUE(list->WeedList(2));
    EXPECT_EQ(list->ErrorNumber(), 0);
    EXPECT_EQ(this->Contents(*list), (V{more, a[1]}));
    EXPECT_TRUE(list->WeedList(9));
    EXPECT_EQ(list->Count(), 0);
}

TYPED_TEST(ObjectList, CloneSharesTheObjects) {
    using V = std::vector<std::shared_ptr<typename TypeParam::Item>>;
    auto list = this->Filled(3);
    auto copy = list->Clone();
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy, list);
    EXPECT_EQ(this->Contents(*copy), this->Contents(*list));
    copy->Remove(1);
    EXPECT_EQ(list->Count(), 3);
    auto& a = this->items;
    EXPECT_EQ(this->Contents(*copy), (V{a[1], a[2]}));
}

TYPED_TEST(ObjectList, LoadListWithoutDatabase) {
    auto list = this->Filled(1);
    EXPECT_FALSE(list->LoadList(nullptr));
    EXPECT_EQ(list->Count(), 1);
}

TYPED_TEST(ObjectList, SaveListSkipsUnchangedAndReportsFailures) {
    auto list = this->Filled(2);
    for (auto& item : this->items) {
        item->SetObjectState(orvan::StateUnchanged);
    }
    EXPECT_TRUE(list->SaveList());
    this->items[0]->SetObjectState(-1);
    EXPECT_TRUE(list->SaveList());
    EXPECT_EQ(this->items[0]->ObjectState(), -1);
    // Nothing to save to: the pending change is reported and kept.
    this->items[1]->SetObjectState(orvan::StateChanged);
    EXPECT_FALSE(list->SaveList());
    EXPECT_EQ(this->items[1]->ObjectState(), orvan::StateChanged);
}

std::shared_ptr<CEmployee> Person(const std::string& first, const std::string& last, int32_t id,
                                  int32_t number, const std::string& ssn) {
    auto e = std::make_shared<CEmployee>();
    e->SetFirstName(first);
    e->SetLastName(last);
    e->SetEmployeeID(id);
    e->SetEmployeeNumber(number);
    e->SetSSN(ssn);
    return e;
}

} // namespace

TEST(EmployeeList, LookupByName) {
    CEmployeeList list;
    auto smith = Person("", "Smith", 1, 10, "111");
    auto john = Person("John", "Smith", 2, 20, "222");
    auto other = Person("John", "Smith", 3, 30, "333");
    list.Insert(john, 1);
    list.Insert(smith, 2);
    list.Insert(other, 3);
    EXPECT_EQ(list.GetEmployeeByName("Smith"), smith);
    EXPECT_EQ(list.GetEmployeeByName("John Smith"), john);
    EXPECT_EQ(list.GetEmployeeByName("john smith"), nullptr);
    EXPECT_EQ(list.GetEmployeeByName(" Smith"), nullptr);
    EXPECT_EQ(list.GetEmployeeByName("John"), nullptr);
    EXPECT_EQ(list.GetEmployeeByName(""), nullptr);
}

TEST(EmployeeList, LookupByIdNumberAndSSN) {
    CEmployeeList list;
    auto a = Person("A", "One", 5, 100, "123-45-6789");
    auto b = Person("B", "Two", 6, 200, "987-65-4321");
    auto c = Person("C", "Three", 6, 100, "123-45-6789");
    list.Insert(a, 1);
    list.Insert(b, 2);
    list.Insert(c, 3);
    EXPECT_EQ(list.GetEmployeeByID(6), b);
    EXPECT_EQ(list.GetEmployeeByID(-1), nullptr);
    EXPECT_EQ(list.GetEmployeeByNumber(100), a);
    EXPECT_EQ(list.GetEmployeeByNumber(0), nullptr);
    EXPECT_EQ(list.GetEmployeeBySSN("987-65-4321"), b);
    EXPECT_EQ(list.GetEmployeeBySSN("987654321"), nullptr);
    CEmployeeList empty;
    EXPECT_EQ(empty.GetEmployeeByID(5), nullptr);
    EXPECT_EQ(empty.GetEmployeeByName("A One"), nullptr);
}

TEST(CompanyList, Lookups) {
    CCompanyList list;
    auto a = std::make_shared<CCompany>();
    a->SetCompanyID(1);
    a->SetCompanyName("Acme");
    auto b = std::make_shared<CCompany>();
    b->SetCompanyID(2);
    b->SetCompanyName("Beta");
    auto c = std::make_shared<CCompany>();
    c->SetCompanyID(2);
    c->SetCompanyName("Acme");
    list.Insert(a, 1);
    list.Insert(b, 2);
    list.Insert(c, 3);
    EXPECT_EQ(list.GetCompanyByID(2), b);
    EXPECT_EQ(list.GetCompanyByID(3), nullptr);
    EXPECT_EQ(list.GetCompanyByName("Acme"), a);
    EXPECT_EQ(list.GetCompanyByName("acme"), nullptr);
    EXPECT_EQ(list.GetCompanyByName("ACME"), nullptr);
}
