#pragma once

#include <QByteArray>
#include <QString>

// A small JSON writer that keeps the order in which members are written.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // Starts a member of the current object; the value follows.
    void key(const char* name);

    void value(const QString& text);
    void value(qint64 number);
    void value(bool flag);

    const QByteArray& data() const { return m_out; }

private:
    void separate();

    QByteArray m_out;
    bool m_needComma = false;
};

// The text as a JSON string literal, quotes included.
QByteArray JsonQuote(const QString& text);
