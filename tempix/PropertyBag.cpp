#include "tempix/PropertyBag.h"

#include <algorithm>

namespace tempix {

namespace {

bool SameKey(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
}

} // namespace

std::vector<std::pair<std::string, QVariant>>::const_iterator
PropertyBag::Find(const std::string& name) const {
    return std::find_if(m_items.begin(), m_items.end(),
                        [&](const auto& item) { return SameKey(item.first, name); });
}

QVariant PropertyBag::ReadProperty(const std::string& name, const QVariant& defaultValue) const {
    const auto found = Find(name);
    return found == m_items.end() ? defaultValue : found->second;
}

void PropertyBag::WriteProperty(const std::string& name, const QVariant& value,
                                const QVariant& defaultValue) {
    if (defaultValue.isValid() && value == defaultValue) {
        Remove(name);
        return;
    }
    const auto found = Find(name);
    if (found == m_items.end()) {
        m_items.emplace_back(name, value);
        return;
    }
    auto& item = m_items[static_cast<size_t>(found - m_items.begin())];
    item.first = name;
    item.second = value;
}

bool PropertyBag::Contains(const std::string& name) const {
    return Find(name) != m_items.end();
}

void PropertyBag::Remove(const std::string& name) {
    const auto found = Find(name);
    if (found != m_items.end()) {
        m_items.erase(found);
    }
}

std::vector<std::string> PropertyBag::Keys() const {
    std::vector<std::string> keys;
    keys.reserve(m_items.size());
    for (const auto& item : m_items) {
        keys.push_back(item.first);
    }
    return keys;
}

} // namespace tempix
