#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

// The text of an INI file held line by line. Lines are kept as the raw bytes
// they were read as, so that everything this program does not write itself
// (other sections and keys, comments, blank lines, even bytes that are not
// text) comes back out unchanged. Section and key names match without regard
// to case; the first of duplicate sections or keys is the one that counts.
class IniDocument
{
public:
    static IniDocument fromBytes(const QByteArray &bytes);
    QByteArray toBytes() const;

    // The value of key in section, or defaultValue when there is none.
    QString value(const QString &section, const QString &key,
                  const QString &defaultValue) const;

    // Updates the key's line in place, or appends the key at the end of its
    // section, or appends the section with the key at the end of the text.
    // Line breaks inside the value become spaces: written raw they would end
    // the line and turn the rest of the value into a line of its own.
    void setValue(const QString &section, const QString &key, const QString &value);

private:
    enum class LineKind { Other, Section, Entry };

    struct Line
    {
        QByteArray raw;      // without the '\n'; a '\r' before it stays here
        LineKind kind = LineKind::Other;
        QString name;        // section name or key, trimmed
        QString value;       // entry value, trimmed
    };

    static Line parseLine(const QByteArray &raw);
    QByteArray makeLine(const QString &text) const;
    // Index of the header of the first section with this name, or -1.
    qsizetype findSection(const QString &section) const;
    // One past the last line of the section that starts at headerIndex.
    qsizetype sectionEnd(qsizetype headerIndex) const;
    // Index of the first entry of key in the section, or -1.
    qsizetype findEntry(qsizetype headerIndex, const QString &key) const;
    void insertLine(qsizetype index, const QByteArray &raw);

    std::vector<Line> lines_;
    bool hasBom_ = false;
    bool endsWithNewline_ = true;
    bool usesCrLf_ = false;
};
