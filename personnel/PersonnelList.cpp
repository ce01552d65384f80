#include "personnel/PersonnelList.h"

#include "core/ErrorNumbers.h"
#include "core/ObjectState.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployeeList.h"
#include "storage/CJetDB.h"

namespace orvan {

template <class List, class T> PersonnelList<List, T>::PersonnelList() {
    Create();
}

template <class List, class T> PersonnelList<List, T>::~PersonnelList() {
    Destroy();
}

template <class List, class T> bool PersonnelList<List, T>::Create() {
    m_errorNumber = 0;
    try {
        if (m_items.empty()) {
            m_items.shrink_to_fit();
        }
        return true;
    } catch (...) {
        m_errorNumber = err::ListCreate;
        return false;
    }
}

template <class List, class T> bool PersonnelList<List, T>::Destroy() {
    m_errorNumber = 0;
    m_items.clear();
    return true;
}

template <class List, class T>
std::shared_ptr<T> PersonnelList<List, T>::Insert(std::shared_ptr<T> thisvalue, int32_t thisindex) {
    m_errorNumber = 0;
    if (!thisvalue) {
        m_errorNumber = err::ListInsert;
        return nullptr;
    }
    try {
        const int32_t count = Count();
        int32_t position = thisindex;
        if (position > count) {
            position = count + 1;
        }
        if (position < 1) {
            position = 1;
        }
        m_items.insert(m_items.begin() + (position - 1), thisvalue);
        return thisvalue;
    } catch (...) {
        m_errorNumber = err::ListInsert;
        return nullptr;
    }
}

template <class List, class T>
std::shared_ptr<T> PersonnelList<List, T>::Remove(int32_t thisindex) {
    m_errorNumber = 0;
    if (thisindex < 1 || thisindex > Count()) {
        m_errorNumber = err::ListIndexOutOfRange;
        return nullptr;
    }
    try {
        const auto at = m_items.begin() + (thisindex - 1);
        std::shared_ptr<T> removed = *at;
        m_items.erase(at);
        return removed;
    } catch (...) {
        m_errorNumber = err::ListRemove;
        return nullptr;
    }
}

template <class List, class T>
std::shared_ptr<T> PersonnelList<List, T>::Move(int32_t fromHere, int32_t toHere) {
    std::shared_ptr<T> moved = Remove(fromHere);
    if (!moved) {
        return nullptr;
    }
    return Insert(moved, toHere);
}

template <class List, class T>
std::shared_ptr<T> PersonnelList<List, T>::Item(int32_t thisindex) const {
    if (thisindex < 1 || thisindex > Count()) {
        return nullptr;
    }
    return *(m_items.begin() + (thisindex - 1));
}

template <class List, class T> bool PersonnelList<List, T>::WeedList(int32_t thecompanyid) {
    m_errorNumber = 0;
    if (thecompanyid == 0) {
        return true;
    }
    if (m_items.empty()) {
        m_errorNumber = err::ListEmpty;
        return true;
    }
    for (int32_t position = Count(); position >= 1; --position) {
        if (Item(position)->CompanyID() != thecompanyid) {
            Remove(position);
        }
    }
    return true;
}

template <class List, class T>
bool PersonnelList<List, T>::LoadList(const std::shared_ptr<CJetDB>& thedatabase) {
    m_errorNumber = 0;
    if (!thedatabase) {
        return false;
    }
    m_database = thedatabase;
    bool result = false;
    try {
        // The database takes a shared reference; a list not owned by a
        // shared_ptr lends itself through a non-owning one for the call.
        std::shared_ptr<List> self = this->weak_from_this().lock();
        if (!self) {
            self = std::shared_ptr<List>(std::shared_ptr<void>(), static_cast<List*>(this));
        }
        result = List::LoadFrom(*thedatabase, self);
    } catch (...) {
        result = false;
    }
    if (!result) {
        m_errorNumber = err::ListCreate;
    }
    return result;
}

template <class List, class T>
bool PersonnelList<List, T>::Reload(std::shared_ptr<List>& list,
                                    const std::shared_ptr<CJetDB>& thedatabase) {
    if (!list) {
        list = std::make_shared<List>();
    } else {
        list->Destroy();
        list->Create();
    }
    return list->LoadList(thedatabase);
}

template <class List, class T> bool PersonnelList<List, T>::SaveList() {
    m_errorNumber = 0;
    try {
        bool result = true;
        // Walk a copy: a save must not be disturbed by the list changing
        // under it.
        const std::vector<std::shared_ptr<T>> items = m_items;
        for (const auto& item : items) {
            const int32_t state = item->ObjectState();
            if (state == StateUnchanged || state == -1) {
                continue;
            }
            if (!item->Save(m_database)) {
                result = false;
            }
        }
        return result;
    } catch (...) {
        return false;
    }
}

template <class List, class T> std::shared_ptr<List> PersonnelList<List, T>::Clone() const {
    try {
        auto copy = std::make_shared<List>();
        copy->m_items = m_items;
        return copy;
    } catch (...) {
        return nullptr;
    }
}

template class PersonnelList<CEmployeeList, CEmployee>;
template class PersonnelList<CCompanyList, CCompany>;

} // namespace orvan
