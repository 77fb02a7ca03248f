// Which view the preview gives an entry: by its extension first, then, for
// names that say nothing, by whether its first bytes read as text.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <string_view>

namespace vantor {

enum class PreviewKind {
    text,     // shown as lines with their numbers
    picture,  // a Quake picture, palette or colormap, or a container of them
    wave,     // format, length, loop point, Play and Stop
    unknown,  // the first bytes decide between text and hex
};

PreviewKind PreviewKindOf(std::string_view entryName);

// Whether bytes look like text: no NUL, and hardly any other control
// characters besides tabs, line and page breaks. Quake's high-bit
// characters count as text.
bool LooksLikeText(QByteArrayView sample);

// Text as UTF-8 when it is valid UTF-8 (a sequence cut at the sample's end
// included), else as Latin-1, so that every byte shows as something.
enum class TextEncoding { utf8, latin1 };
TextEncoding TextEncodingOf(QByteArrayView sample);
QString DecodeText(QByteArrayView bytes, TextEncoding encoding);

}  // namespace vantor
