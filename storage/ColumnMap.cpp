#include "storage/ColumnMap.h"

#include <cmath>
#include <limits>

#include "core/ErrorNumbers.h"
#include "personnel/CCompany.h"
#include "personnel/CEmployee.h"
#include "storage/EngineError.h"

namespace orvan {

using Value = Recordset::Value;

namespace {

[[noreturn]] void Overflow() {
    throw EngineError(err::LockedOrOverflow, "Overflow");
}

template <typename N> N Whole(const Value& value) {
    const int64_t number = Recordset::ToInteger(value);
    if (number < std::numeric_limits<N>::min() || number > std::numeric_limits<N>::max()) {
        Overflow();
    }
    return static_cast<N>(number);
}

// The setters of the tables below. Each reads one stored value and leaves the
// field at its initial value for Null, and for the zero or negative values
// that stand for "not set" in that column.
template <class T, void (T::*Set)(const std::string&)> void TextField(T& t, const Value& v) {
    if (!Recordset::IsNullValue(v)) {
        (t.*Set)(Recordset::ToText(v));
    }
}

template <class T, void (T::*Set)(int32_t)> void KeyField(T& t, const Value& v) {
    if (!Recordset::IsNullValue(v)) {
        if (const int32_t key = column::Int32(v); key > 0) {
            (t.*Set)(key);
        }
    }
}

template <class T, void (T::*Set)(int32_t)> void NumberField(T& t, const Value& v) {
    if (!Recordset::IsNullValue(v)) {
        (t.*Set)(column::Int32(v));
    }
}

template <class T, void (T::*Set)(int16_t)> void MinutesField(T& t, const Value& v) {
    if (!Recordset::IsNullValue(v)) {
        if (const int16_t minutes = column::Int16(v); minutes > 0) {
            (t.*Set)(minutes);
        }
    }
}

template <class T, void (T::*Set)(float)> void RateField(T& t, const Value& v) {
    if (!Recordset::IsNullValue(v)) {
        if (const float rate = column::Single(v); rate > 0.0f) {
            (t.*Set)(rate);
        }
    }
}

template <class T, void (T::*Set)(DateTime)> void DateField(T& t, const Value& v) {
    if (!Recordset::IsNullValue(v) && Recordset::ToDouble(v) != 0.0) {
        (t.*Set)(column::Date(v));
    }
}

// Yes/No columns: a Null is an invalid use of Null, as the engine reports it.
template <class T, void (T::*Set)(bool)> void YesNoField(T& t, const Value& v) {
    (t.*Set)(Recordset::ToBoolean(v));
}

using E = CEmployee;
const ColumnMap<E>::Entry kEmployeeTable[] = {
    {"EmployeeID", KeyField<E, &E::SetEmployeeID>},
    {"SSNumber", TextField<E, &E::SetSSN>},
    {"FirstName", TextField<E, &E::SetFirstName>},
    {"LastName", TextField<E, &E::SetLastName>},
    {"Address", TextField<E, &E::SetAddress1>},
    {"Address2", TextField<E, &E::SetAddress2>},
    {"City", TextField<E, &E::SetCity>},
    {"State", TextField<E, &E::SetState>},
    {"ZipCode", TextField<E, &E::SetZipCode>},
    {"Phone", TextField<E, &E::SetPhone>},
    {"EmployeeNumber", NumberField<E, &E::SetEmployeeNumber>},
    {"DateOfBirth", DateField<E, &E::SetDateOfBirth>},
    {"HireDate", DateField<E, &E::SetHireDate>},
    {"ReleaseDate", DateField<E, &E::SetReleaseDate>},
    {"PayRate", RateField<E, &E::SetPayRate>},
    {"OvertimePayRate", RateField<E, &E::SetOvertimePayRate>},
    {"Active", YesNoField<E, &E::SetEmployeeActive>},
    {"CompanyID", KeyField<E, &E::SetCompanyID>},
    {"AutoDeduct", YesNoField<E, &E::SetAutoDeduct>},
    {"AutoDeductLunchLength", MinutesField<E, &E::SetAutoDeductLunchLength>},
    {"AutoDeductBreakLength", MinutesField<E, &E::SetAutoDeductBreakLength>},
    {"Password", TextField<E, &E::SetPassword>},
};

using C = CCompany;
const ColumnMap<C>::Entry kCompanyTable[] = {
    {"CompanyID", KeyField<C, &C::SetCompanyID>},
    {"Name", TextField<C, &C::SetCompanyName>},
    {"Address1", TextField<C, &C::SetAddress1>},
    {"Address2", TextField<C, &C::SetAddress2>},
    {"City", TextField<C, &C::SetCity>},
    {"State", TextField<C, &C::SetState>},
    {"ZipCode", TextField<C, &C::SetZipCode>},
    {"Phone", TextField<C, &C::SetPhone>},
    {"Fax", TextField<C, &C::SetFax>},
    {"FederalTaxID", TextField<C, &C::SetFederalTaxID>},
};

} // namespace

namespace column {

int32_t Int32(const Value& value) {
    return Whole<int32_t>(value);
}

int16_t Int16(const Value& value) {
    return Whole<int16_t>(value);
}

float Single(const Value& value) {
    const double number = Recordset::ToDouble(value);
    if (!std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max()) {
        Overflow();
    }
    return static_cast<float>(number);
}

DateTime Date(const Value& value) {
    // 1 January 100 and the day after 31 December 9999.
    constexpr double kFirstDay = -657434.0;
    constexpr double kPastLastDay = 2958466.0;
    const double days = Recordset::ToDouble(value);
    if (!std::isfinite(days) || days < kFirstDay || days >= kPastLastDay) {
        Overflow();
    }
    return DateTime::FromDays(days);
}

} // namespace column

ColumnMap<CEmployee> EmployeeColumns(const Recordset& rows) {
    return ColumnMap<CEmployee>(rows, kEmployeeTable);
}

ColumnMap<CCompany> CompanyColumns(const Recordset& rows) {
    return ColumnMap<CCompany>(rows, kCompanyTable);
}

} // namespace orvan
