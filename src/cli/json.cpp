#include "cli/json.h"

QByteArray JsonQuote(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 2);
    out.append('"');
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (c < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out.append("\\u00");
                out.append(hex[c >> 4]);
                out.append(hex[c & 15]);
            } else {
                out.append(ch);
            }
        }
    }
    out.append('"');
    return out;
}

void JsonWriter::separate()
{
    if (m_needComma)
        m_out.append(',');
    m_needComma = true;
}

void JsonWriter::beginObject()
{
    separate();
    m_out.append('{');
    m_needComma = false;
}

void JsonWriter::endObject()
{
    m_out.append('}');
    m_needComma = true;
}

void JsonWriter::beginArray()
{
    separate();
    m_out.append('[');
    m_needComma = false;
}

void JsonWriter::endArray()
{
    m_out.append(']');
    m_needComma = true;
}

void JsonWriter::key(const char* name)
{
    separate();
    m_out.append(JsonQuote(QString::fromUtf8(name)));
    m_out.append(':');
    m_needComma = false;
}

void JsonWriter::value(const QString& text)
{
    separate();
    m_out.append(JsonQuote(text));
}

void JsonWriter::value(qint64 number)
{
    separate();
    m_out.append(QByteArray::number(number));
}

void JsonWriter::value(bool flag)
{
    separate();
    m_out.append(flag ? "true" : "false");
}
