#pragma once

// The one store of loaded puppet content, addressed by integer index (-1
// none), and the interning of replacement-category names.
//
// This is the part the content protos use: a puppet file is loaded once by
// name and keeps its index; category names get dense ids in order of first
// use. The puppet definitions themselves, attachments, animations and bone
// names join this class with the puppet subsystem. Main thread only.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class PuppetRegistry {
public:
    // Loads "data/<name>.Puppet" the first time and returns its index; the
    // same name gives the same index without reading the file again. -1 when
    // the file cannot be read or holds no element; a failed name is tried
    // again next time.
    static int32_t loadPuppet(std::string_view name);
    // The id of a replacement-category name; an unseen name gets the next id.
    static int32_t categoryIndex(std::string_view name);
    static int32_t puppetCount();
    // Forgets every puppet and category.
    static void clear();

private:
    static PuppetRegistry& instance();

    std::vector<std::string> mPuppets; // index = load order
    std::unordered_map<std::string, int32_t> mPuppetNames;
    std::unordered_map<std::string, int32_t> mCategoryNames;
};
