#include "content/FontNames.h"

namespace {

std::string& headerFont() {
    static std::string name;
    return name;
}

std::string& detailsFont() {
    static std::string name;
    return name;
}

} // namespace

const char* getHeaderFontName() {
    return headerFont().c_str();
}

const char* getDetailsFontName() {
    return detailsFont().c_str();
}

void setInterfaceFontNames(const std::string& headerFontName, const std::string& detailsFontName) {
    headerFont() = headerFontName;
    detailsFont() = detailsFontName;
}
