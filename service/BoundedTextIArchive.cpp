#include "service/BoundedTextIArchive.h"

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/impl/archive_serializer_map.ipp>
#include <boost/archive/impl/basic_text_iarchive.ipp>
#include <boost/archive/impl/text_iarchive_impl.ipp>
#include <boost/serialization/throw_exception.hpp>

BoundedTextIArchive::BoundedTextIArchive(std::istream& in, std::size_t inputSize)
    : boost::archive::text_iarchive_impl<BoundedTextIArchive>(in, 0), mInputSize(inputSize) {
    init();
}

BoundedTextIArchive::~BoundedTextIArchive() = default;

namespace {

[[noreturn]] void inputStreamError() {
    boost::serialization::throw_exception(
        boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error));
}

} // namespace

// As the library reads a string ("<length> <bytes>"), with the length checked
// and a string cut short by the end of the input refused.
void BoundedTextIArchive::load(std::string& text) {
    std::size_t size = 0;
    *this->This() >> size;
    if (size > mInputSize)
        inputStreamError();
    is.get();
    text.resize(size);
    if (size > 0 && !is.read(text.data(), static_cast<std::streamsize>(size)))
        inputStreamError();
}

template class boost::archive::detail::archive_serializer_map<BoundedTextIArchive>;
template class boost::archive::basic_text_iarchive<BoundedTextIArchive>;
template class boost::archive::text_iarchive_impl<BoundedTextIArchive>;
