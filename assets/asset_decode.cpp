#include "asset_decode.h"

namespace vantor {

const char* AssetFaultName(AssetFault fault)
{
    switch (fault) {
    case AssetFault::none: return "none";
    case AssetFault::truncated: return "truncated";
    case AssetFault::sizeMismatch: return "size-mismatch";
    case AssetFault::negativeSize: return "negative-size";
    case AssetFault::sizeOverflow: return "size-overflow";
    case AssetFault::offsetOutside: return "offset-outside";
    case AssetFault::countTooLarge: return "count-too-large";
    case AssetFault::badAlignment: return "bad-alignment";
    case AssetFault::unsupported: return "unsupported";
    case AssetFault::notQuake1: return "not-quake1";
    case AssetFault::missing: return "missing";
    case AssetFault::tooMuchData: return "too-much-data";
    case AssetFault::tooBig: return "too-big";
    }
    return "unknown";
}

bool IsAssetName(std::string_view)
{
    return false;
}

CAssetDecode DecodeAsset(std::string_view, std::span<const std::uint8_t>)
{
    return {};
}

}  // namespace vantor
