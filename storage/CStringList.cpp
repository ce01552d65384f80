#include "storage/CStringList.h"
#include "core/ErrorNumbers.h"

namespace orvan {

CStringList::CStringList() {
    Create();
}

CStringList::~CStringList() {
    Destroy();
}

bool CStringList::Create() {
    try {
        if (m_items.empty()) {
            m_items = std::vector<std::string>();
        }
        return true;
    } catch (...) {
        m_errorNumber = err::ListCreate;
        return false;
    }
}

bool CStringList::Destroy() {
    m_items.clear();
    m_items.shrink_to_fit();
    return true;
}

bool CStringList::Insert(const std::string& thisvalue, int32_t thisindex) {
    m_errorNumber = 0;
    try {
        int32_t position = thisindex;
        if (position > Count()) {
            position = Count() + 1;
        }
        if (position < 1) {
            position = 1;
        }
        m_items.insert(m_items.begin() + (position - 1), thisvalue);
        return true;
    } catch (...) {
        m_errorNumber = err::ListInsert;
        return false;
    }
}

bool CStringList::Remove(int32_t thisindex) {
    m_errorNumber = 0;
    if (thisindex < 1 || thisindex > Count()) {
        m_errorNumber = err::ListIndexOutOfRange;
        return false;
    }
    try {
        m_items.erase(m_items.begin() + (thisindex - 1));
        return true;
    } catch (...) {
        m_errorNumber = err::ListRemove;
        return false;
    }
}

bool CStringList::Move(int32_t fromHere, int32_t toHere) {
    try {
        const std::string item = Item(fromHere);
        if (item.empty()) {
            return false;
        }
        if (!Remove(fromHere)) {
            return false;
        }
        return Insert(item, toHere);
    } catch (...) {
        // The item could not be copied; nothing was moved.
        return false;
    }
}

std::string CStringList::Item(int32_t thisindex) const {
    if (thisindex < 1 || thisindex > Count()) {
        return "";
    }
    try {
        return m_items[static_cast<size_t>(thisindex - 1)];
    } catch (...) {
        return "";
    }
}

int32_t CStringList::Find(const std::string& thisobject) const {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] == thisobject) {
            return static_cast<int32_t>(i + 1);
        }
    }
    return -1;
}

} // namespace orvan
