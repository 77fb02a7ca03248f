#include "png_export.h"

namespace vantor {

bool EncodeIndexedPng(const CIndexedImage&, const CPalette&, std::vector<std::uint8_t>&, CPngResult& result)
{
    result.fault = PngFault::encodeFailed;
    return false;
}

bool WriteIndexedPng(const std::string&, const CIndexedImage&, const CPalette&, CPngResult& result, IFileSystem&)
{
    result.fault = PngFault::encodeFailed;
    return false;
}

}  // namespace vantor
