#include "app/mimelists.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <map>
#include <vector>

namespace curvana {

namespace {

// "a.desktop;b.desktop;" as its items; a missing last ';' and blanks are tolerated.
QList<QByteArray> SplitList(const QByteArray& value) {
    QList<QByteArray> items;
    for (const QByteArray& item : value.split(';'))
        if (!item.trimmed().isEmpty())
            items.append(item.trimmed());
    return items;
}

QByteArray JoinList(const QList<QByteArray>& items) {
    QByteArray value;
    for (const QByteArray& item : items)
        value += item + ';';
    return value;
}

// Splits a key file line into key and value; false for headers, comments and blank lines.
bool SplitEntry(const QByteArray& line, QByteArray& key, QByteArray& value) {
    const QByteArray trimmed = line.trimmed();
    const qsizetype equals = trimmed.indexOf('=');
    if (trimmed.isEmpty() || trimmed.startsWith('#') || trimmed.startsWith('[') || equals <= 0)
        return false;
    key = trimmed.left(equals).trimmed();
    value = trimmed.mid(equals + 1).trimmed();
    return true;
}

// The group name when line is a group header such as "[Added Associations]".
bool GroupHeader(const QByteArray& line, QByteArray& group) {
    const QByteArray trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith('[') || !trimmed.endsWith(']'))
        return false;
    group = trimmed.mid(1, trimmed.size() - 2);
    return true;
}

} // namespace

QByteArray WithAddedAssociation(const QByteArray& mimeAppsList, const QByteArray& mimeType,
                                const QByteArray& desktopId) {
    const QByteArray added = "Added Associations";
    QList<QByteArray> lines = mimeAppsList.split('\n');
    if (lines.constLast().isEmpty())
        lines.removeLast();

    QByteArray group;
    qsizetype addedHeader = -1;
    qsizetype addedLine = -1;
    QList<QByteArray> addedIds;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray key, value;
        if (GroupHeader(lines[i], group)) {
            if (group == added && addedHeader < 0)
                addedHeader = i;
            continue;
        }
        if (!SplitEntry(lines[i], key, value) || key != mimeType)
            continue;
        const QList<QByteArray> ids = SplitList(value);
        if ((group == added || group == "Removed Associations") && ids.contains(desktopId))
            return mimeAppsList;
        if (group == added && addedLine < 0) {
            addedLine = i;
            addedIds = ids;
        }
    }

    // Ours goes last, so that an application the user added earlier keeps its place.
    addedIds.append(desktopId);
    const QByteArray entry = mimeType + '=' + JoinList(addedIds);
    if (addedLine >= 0) {
        lines[addedLine] = entry;
    } else if (addedHeader >= 0) {
        lines.insert(addedHeader + 1, entry);
    } else {
        if (!lines.isEmpty() && !lines.constLast().trimmed().isEmpty())
            lines.append(QByteArray());
        lines.append('[' + added + ']');
        lines.append(entry);
    }
    return lines.join('\n') + '\n';
}

QByteArray MimeInfoCacheText(const QString& applicationsFolder) {
    std::map<QByteArray, std::vector<QByteArray>> entriesByType;
    const QDir folder(applicationsFolder);
    for (const QString& name :
         folder.entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QByteArray group;
        for (const QByteArray& line : file.readAll().split('\n')) {
            QByteArray key, value;
            if (GroupHeader(line, group) || group != "Desktop Entry" ||
                !SplitEntry(line, key, value) || key != "MimeType")
                continue;
            for (const QByteArray& type : SplitList(value)) {
                std::vector<QByteArray>& entries = entriesByType[type];
                if (entries.empty() || entries.back() != name.toUtf8())
                    entries.push_back(name.toUtf8());
            }
        }
    }
    QByteArray text = "[MIME Cache]\n";
    for (const auto& [type, entries] : entriesByType) {
        text += type + '=';
        for (const QByteArray& entry : entries)
            text += entry + ';';
        text += '\n';
    }
    return text;
}

} // namespace curvana
