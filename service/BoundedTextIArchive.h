#pragma once

// Boost's text input archive, reading the same format, that refuses a string
// longer than the input it came from before allocating it: a garbled length
// in a damaged file becomes an archive exception instead of a huge allocation.

#include <boost/archive/text_iarchive.hpp>

#include <cstddef>
#include <istream>
#include <string>

class BoundedTextIArchive : public boost::archive::text_iarchive_impl<BoundedTextIArchive> {
public:
    // Reads the archive header from in, whose whole text is inputSize bytes.
    BoundedTextIArchive(std::istream& in, std::size_t inputSize);
    ~BoundedTextIArchive() override;

private:
    friend class boost::archive::detail::interface_iarchive<BoundedTextIArchive>;
    friend class boost::archive::basic_text_iarchive<BoundedTextIArchive>;
    friend class boost::archive::load_access;

    template <class T>
    void load(T& value) {
        boost::archive::text_iarchive_impl<BoundedTextIArchive>::load(value);
    }
    void load(std::string& text);

    std::size_t mInputSize;
};
