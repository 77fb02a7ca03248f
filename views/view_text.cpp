#include "view_text.h"

#include <QFile>
#include <QStringDecoder>

namespace vantor {

QString DecodeName(std::string_view raw)
{
    const auto* pBytes = reinterpret_cast<const unsigned char*>(raw.data());
    bool bAscii = true;
    for (std::size_t i = 0; i < raw.size() && bAscii; ++i)
        bAscii = pBytes[i] < 0x80;
    const auto nLength = static_cast<qsizetype>(raw.size());
    // Nearly every name is plain ASCII; skip the decoder for those.
    if (bAscii)
        return QString::fromLatin1(raw.data(), nLength);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(raw.data(), nLength));
    if (!decoder.hasError())
        return text;
    return QString::fromLatin1(raw.data(), nLength);
}

int CompareNames(const QString& a, const QString& b)
{
    const int nResult = a.compare(b, Qt::CaseInsensitive);
    return nResult != 0 ? nResult : a.compare(b, Qt::CaseSensitive);
}

QString FormatSizeKB(qint64 nKB)
{
    return QString::number(nKB) + QStringLiteral("KB");
}

QString FormatTotalKB(qint64 nKB)
{
    if (nKB <= 999)
        return FormatSizeKB(nKB);
    return QString::asprintf("%.1fMB", static_cast<double>(nKB) * 0.001);
}

std::string ToDiskBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString FromDiskBytes(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace vantor
