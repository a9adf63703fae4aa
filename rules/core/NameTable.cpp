#include "rules/core/NameTable.h"

#include <boost/algorithm/string/predicate.hpp>

int32_t findNameNoCase(std::span<const std::string_view> names, std::string_view name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (boost::algorithm::iequals(names[i], name))
            return static_cast<int32_t>(i);
    return -1;
}
