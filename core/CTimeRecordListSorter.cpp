#include "core/CTimeRecordListSorter.h"

#include <algorithm>
#include <vector>

#include "core/CTimeRecord.h"
#include "core/CTimeRecordList.h"
#include "core/ErrorNumbers.h"

namespace orvan {

void CTimeRecordListSorter::SetTimeRecordList(const std::shared_ptr<CTimeRecordList>& value) {
    if (value) {
        m_timeRecordList = value;
    }
}

int32_t CTimeRecordListSorter::Find(const std::any& theobject) {
    m_errorNumber = 0;
    try {
        if (!m_timeRecordList) {
            return -1;
        }
        const auto* wanted = std::any_cast<std::shared_ptr<CTimeRecord>>(&theobject);
        if (wanted == nullptr || !*wanted) {
            return -1;
        }
        for (int32_t i = 1; i <= m_timeRecordList->Count(); ++i) {
            if (m_timeRecordList->Item(i) == *wanted) {
                return i;
            }
        }
        return -1;
    } catch (...) {
        m_errorNumber = err::ListSearch;
        return -1;
    }
}

std::shared_ptr<CTimeRecord> CTimeRecordListSorter::GetTimeRecordByKey(DateTime thestarttime,
                                                                       DateTime theendtime) {
    const int32_t index = GetIndexByKey(DateTime(), thestarttime, theendtime);
    if (index < 1) {
        return nullptr;
    }
    try {
        return m_timeRecordList->Item(index);
    } catch (...) {
        m_errorNumber = err::ListSearch;
        return nullptr;
    }
}

int32_t CTimeRecordListSorter::GetIndexByKey(DateTime /*theshiftdate*/, DateTime thestarttime,
                                             DateTime theendtime) {
    m_errorNumber = 0;
    try {
        if (!m_timeRecordList) {
            return -1;
        }
        for (int32_t i = 1; i <= m_timeRecordList->Count(); ++i) {
            const auto item = m_timeRecordList->Item(i);
            if (item && item->StartTime() == thestarttime && item->EndTime() == theendtime) {
                return i;
            }
        }
        return -1;
    } catch (...) {
        m_errorNumber = err::ListSearch;
        return -1;
    }
}

bool CTimeRecordListSorter::Sort(int32_t /*thesortorder*/) {
    m_errorNumber = 0;
    if (!m_timeRecordList) {
        return false;
    }
    try {
        CTimeRecordList& list = *m_timeRecordList;
        const int32_t count = list.Count();
        std::vector<std::shared_ptr<CTimeRecord>> items;
        items.reserve(static_cast<size_t>(count));
        for (int32_t i = 1; i <= count; ++i) {
            items.push_back(list.Item(i));
            if (!items.back()) {
                m_errorNumber = err::ListSort;
                return false;
            }
        }
        const auto earlier = [](const std::shared_ptr<CTimeRecord>& a,
                                const std::shared_ptr<CTimeRecord>& b) {
            if (a->StartTime() != b->StartTime()) {
                return a->StartTime() < b->StartTime();
            }
            return a->EndTime() < b->EndTime();
        };
        // A freshly loaded list is already in order: leave it untouched.
        if (std::is_sorted(items.begin(), items.end(), earlier)) {
            return true;
        }
        std::stable_sort(items.begin(), items.end(), earlier);
        // Rebuild the list in place (removing from the end and appending
        // keeps each step constant time) so holders of the list see the order.
        for (int32_t i = count; i >= 1; --i) {
            if (!list.Remove(i)) {
                m_errorNumber = err::ListSort;
                return false;
            }
        }
        for (size_t i = 0; i < items.size(); ++i) {
            if (!list.Insert(items[i], static_cast<int32_t>(i) + 1)) {
                m_errorNumber = err::ListSort;
                return false;
            }
        }
        return true;
    } catch (...) {
        m_errorNumber = err::ListSort;
        return false;
    }
}

} // namespace orvan
