#include "settings/IniDocument.h"

namespace {

// A hand-edited value may be quoted (strbcpathz="/srv/rec/"): one pair of
// matching quotes around it is taken off, as private-profile readers do.
QString withoutSurroundingQuotes(const QString &value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

const QByteArray utf8Bom("\xEF\xBB\xBF");

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isBlank(const QByteArray &raw)
{
    return raw.trimmed().isEmpty();
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray &bytes)
{
    IniDocument doc;
    QByteArray text = bytes;
    if (text.startsWith(utf8Bom)) {
        doc.hasBom_ = true;
        text.remove(0, utf8Bom.size());
    }
    if (text.isEmpty())
        return doc;

    const qsizetype firstBreak = text.indexOf('\n');
    doc.usesCrLf_ = firstBreak > 0 && text.at(firstBreak - 1) == '\r';
    doc.endsWithNewline_ = text.endsWith('\n');
    if (doc.endsWithNewline_)
        text.chop(1);

    for (const QByteArray &raw : text.split('\n'))
        doc.lines_.push_back(parseLine(raw));
    return doc;
}

QByteArray IniDocument::toBytes() const
{
    QByteArray out;
    if (hasBom_)
        out += utf8Bom;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i].raw;
        if (i + 1 < lines_.size() || endsWithNewline_)
            out += '\n';
    }
    return out;
}

IniDocument::Line IniDocument::parseLine(const QByteArray &raw)
{
    Line line;
    line.raw = raw;
    // Bytes that are not UTF-8 decode to replacement characters: such a line
    // can match none of our names, and its raw bytes stay as they were.
    const QString text = QString::fromUtf8(raw).trimmed();
    if (text.startsWith(u'[')) {
        line.kind = LineKind::Section;
        const qsizetype close = text.indexOf(u']');
        line.name = text.mid(1, close < 0 ? -1 : close - 1).trimmed();
        return line;
    }
    if (text.startsWith(u';') || text.startsWith(u'#'))
        return line;
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0)
        return line;
    line.kind = LineKind::Entry;
    line.name = text.left(equals).trimmed();
    line.value = text.mid(equals + 1).trimmed();
    if (line.name.isEmpty())
        line.kind = LineKind::Other;
    return line;
}

QByteArray IniDocument::makeLine(const QString &text) const
{
    QByteArray raw = text.toUtf8();
    if (usesCrLf_)
        raw += '\r';
    return raw;
}

qsizetype IniDocument::findSection(const QString &section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::Section && sameName(lines_[i].name, section))
            return qsizetype(i);
    }
    return -1;
}

qsizetype IniDocument::sectionEnd(qsizetype headerIndex) const
{
    qsizetype i = headerIndex + 1;
    while (i < qsizetype(lines_.size()) && lines_[i].kind != LineKind::Section)
        ++i;
    return i;
}

qsizetype IniDocument::findEntry(qsizetype headerIndex, const QString &key) const
{
    const qsizetype end = sectionEnd(headerIndex);
    for (qsizetype i = headerIndex + 1; i < end; ++i) {
        if (lines_[i].kind == LineKind::Entry && sameName(lines_[i].name, key))
            return i;
    }
    return -1;
}

QString IniDocument::value(const QString &section, const QString &key,
                           const QString &defaultValue) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return defaultValue;
    const qsizetype entry = findEntry(header, key);
    return entry < 0 ? defaultValue : withoutSurroundingQuotes(lines_[entry].value);
}

void IniDocument::insertLine(qsizetype index, const QByteArray &raw)
{
    // Text that did not end in a line break gets one before anything follows.
    if (index == qsizetype(lines_.size()))
        endsWithNewline_ = true;
    lines_.insert(lines_.begin() + index, parseLine(raw));
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    QString oneLineValue = value;
    oneLineValue.replace(u'\r', u' ').replace(u'\n', u' ');

    const qsizetype header = findSection(section);
    if (header < 0) {
        if (!lines_.empty() && !isBlank(lines_.back().raw))
            insertLine(lines_.size(), makeLine(QString()));
        insertLine(lines_.size(), makeLine('[' + section + ']'));
        insertLine(lines_.size(), makeLine(key + '=' + oneLineValue));
        return;
    }

    const qsizetype entry = findEntry(header, key);
    if (entry >= 0) {
        // The key keeps the spelling it has in the file.
        Line &line = lines_[entry];
        const bool hadCr = line.raw.endsWith('\r');
        QByteArray raw = (line.name + '=' + oneLineValue).toUtf8();
        if (hadCr)
            raw += '\r';
        line = parseLine(raw);
        return;
    }

    // After the last non-blank line of the section, so the blank lines that
    // part it from the next section stay in front of that section.
    qsizetype insertAt = sectionEnd(header);
    while (insertAt - 1 > header && isBlank(lines_[insertAt - 1].raw))
        --insertAt;
    insertLine(insertAt, makeLine(key + '=' + oneLineValue));
}
