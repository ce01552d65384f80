#include "core/CTimeRecordList.h"

#include "core/CTimeRecord.h"
#include "core/ObjectState.h"
#include "core/ErrorNumbers.h"

namespace orvan {

CTimeRecordList::CTimeRecordList() {
    Create();
}

CTimeRecordList::~CTimeRecordList() {
    Destroy();
}

bool CTimeRecordList::Create() {
    m_errorNumber = 0;
    try {
        if (m_count < 1) {
            m_items.assign(1, nullptr);
            m_count = 0;
        }
        return true;
    } catch (...) {
        m_errorNumber = err::ListCreate;
        return false;
    }
}

bool CTimeRecordList::Destroy() {
    m_errorNumber = 0;
    try {
        m_items.clear();
        m_items.shrink_to_fit();
        m_count = 0;
        m_items.assign(1, nullptr);
        return true;
    } catch (...) {
        m_errorNumber = err::ListDestroy;
        return false;
    }
}

bool CTimeRecordList::AddNew(const std::shared_ptr<CTimeRecord>& item) {
    m_errorNumber = 0;
    if (!item) {
        m_errorNumber = err::ListInsert;
        return false;
    }
    try {
        m_items.resize(static_cast<size_t>(m_count) + 1);
        m_items.push_back(item);
        ++m_count;
        item->SetObjectState(StateNew);
        return true;
    } catch (...) {
        m_errorNumber = err::ListInsert;
        return false;
    }
}

bool CTimeRecordList::Insert(const std::shared_ptr<CTimeRecord>& item, int32_t index) {
    m_errorNumber = 0;
    if (!item) {
        m_errorNumber = err::ListInsert;
        return false;
    }
    try {
        int32_t position = index;
        if (position > m_count) {
            position = m_count + 1;
        }
        if (position < 1) {
            position = 1;
        }
        m_items.resize(static_cast<size_t>(m_count) + 1);
        m_items.insert(m_items.begin() + position, item);
        ++m_count;
        return true;
    } catch (...) {
        m_errorNumber = err::ListInsert;
        return false;
    }
}

bool CTimeRecordList::Move(int32_t fromHere, int32_t toHere) {
    m_errorNumber = 0;
    std::shared_ptr<CTimeRecord> item = Item(fromHere);
    if (!item) {
        return false;
    }
    if (!Remove(fromHere)) {
        return false;
    }
    return Insert(item, toHere);
}

bool CTimeRecordList::Remove(int32_t index) {
    m_errorNumber = 0;
    if (index < 1 || index > m_count) {
        m_errorNumber = err::ListIndexOutOfRange;
        return false;
    }
    try {
        m_items.erase(m_items.begin() + index);
        --m_count;
        return true;
    } catch (...) {
        m_errorNumber = err::ListRemove;
        return false;
    }
}

std::shared_ptr<CTimeRecord> CTimeRecordList::Item(int32_t index) const {
    m_errorNumber = 0;
    if (index < 1 || index > m_count) {
        return nullptr;
    }
    try {
        return m_items.at(static_cast<size_t>(index));
    } catch (...) {
        m_errorNumber = err::ListSearch;
        return nullptr;
    }
}

} // namespace orvan
