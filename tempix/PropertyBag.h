#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <QVariant>

#include "tempix/TempixExport.h"

namespace tempix {

// The stored properties of a placed control, as its host keeps them in a
// saved form. Keys are matched without regard to (ASCII) case, so "datatype"
// finds what was written as "DataType"; the spelling last written is kept.
class TEMPIX_EXPORT PropertyBag {
public:
    // The value stored under the key, or defaultValue when there is none.
    QVariant ReadProperty(const std::string& name, const QVariant& defaultValue = QVariant()) const;
    // Stores the value under the key. A value equal to its default is not
    // kept: an entry already under that key is removed, so reading gives the
    // default back.
    void WriteProperty(const std::string& name, const QVariant& value,
                       const QVariant& defaultValue = QVariant());

    bool Contains(const std::string& name) const;
    void Remove(const std::string& name);
    // The keys in the order they were first written.
    std::vector<std::string> Keys() const;
    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    void Clear() { m_items.clear(); }

private:
    std::vector<std::pair<std::string, QVariant>>::const_iterator
    Find(const std::string& name) const;

    std::vector<std::pair<std::string, QVariant>> m_items;
};

} // namespace tempix
