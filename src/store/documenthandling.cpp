#include "store/documenthandling.h"

#include "language/language.h"
#include "settings/mainfunc.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

namespace {

// Parse flags for archives: CDATA, entities and end-of-line handling as XML
// requires; a value made only of blanks survives as the element's only child,
// while white space between elements is dropped.
constexpr unsigned int kParseFlags = pugi::parse_default | pugi::parse_ws_pcdata_single;

// The document is emptied after every operation, whichever way it ends.
struct DocumentReset {
    pugi::xml_document& doc;
    ~DocumentReset() { doc.reset(); }
};

// The content of an element that holds a value: its single text or CDATA
// child, or nothing. False when it holds elements or several text nodes.
bool elementValue(const pugi::xml_node& element, const char*& value)
{
    value = nullptr;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        switch (child.type()) {
        case pugi::node_element:
            return false;
        case pugi::node_pcdata:
        case pugi::node_cdata:
            if (value)
                return false;
            value = child.value();
            break;
        default:
            break;
        }
    }
    return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A whole number with optional sign and surrounding blanks, in decimal or
// with a "$" or "0x" hexadecimal prefix. Parsed in place: loading calls it
// for every id and date of an archive.
bool parseInteger(const char* text, qint64 min, qint64 max, qint64& out)
{
    if (!text)
        return false;
    const char* p = text;
    while (isBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    int base = 10;
    if (*p == '$') {
        base = 16;
        ++p;
    } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    // Accumulate as a negative number so that the minimum fits.
    const qint64 limit = negative ? min : -max;
    qint64 value = 0;
    int digits = 0;
    for (;; ++p, ++digits) {
        int d;
        if (*p >= '0' && *p <= '9')
            d = *p - '0';
        else if (base == 16 && *p >= 'a' && *p <= 'f')
            d = *p - 'a' + 10;
        else if (base == 16 && *p >= 'A' && *p <= 'F')
            d = *p - 'A' + 10;
        else
            break;
        if (value < (limit + d) / base)
            return false;
        value = value * base - d;
    }
    while (isBlank(*p))
        ++p;
    if (digits == 0 || *p != '\0')
        return false;
    out = negative ? value : -value;
    return true;
}

bool parseInt32(const char* text, int& out)
{
    qint64 value = 0;
    if (!parseInteger(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), value))
        return false;
    out = static_cast<int>(value);
    return true;
}

[[noreturn]] void invalid() { throw EInvalidArchive(); }

int requiredInt(const pugi::xml_node& element)
{
    const char* value = nullptr;
    int result = 0;
    if (!element || !elementValue(element, value) || !parseInt32(value, result))
        invalid();
    return result;
}

QString stringValue(const pugi::xml_node& element)
{
    if (!element)
        return {};
    const char* value = nullptr;
    if (!elementValue(element, value))
        invalid();
    if (!value || !*value)
        return {};
    return QString::fromUtf8(value, static_cast<qsizetype>(std::strlen(value)));
}

TDateTime dateValue(const pugi::xml_node& element, TDateTime fallback)
{
    const char* value = nullptr;
    if (!element || !elementValue(element, value) || !value)
        return fallback;
    qint64 seconds = 0;
    if (!parseInteger(value, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(),
                      seconds))
        return fallback;
    return FileSecondsToDateTime(seconds);
}

bool boolValue(const pugi::xml_node& element)
{
    const char* value = nullptr;
    if (!element || !elementValue(element, value) || !value)
        return false;
    const QByteArray text = QByteArray(value).trimmed();
    if (text.compare("true", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare("false", Qt::CaseInsensitive) == 0)
        return false;
    int number = 0;
    if (parseInt32(value, number))
        return number != 0;
    return false;
}

// Children of an element looked up by name, each the first of its name.
// One pass over the children instead of one search per name.
template <size_t N>
void collectChildren(const pugi::xml_node& parent, const char* const (&names)[N],
                     pugi::xml_node (&found)[N])
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const char* name = child.name();
        for (size_t i = 0; i < N; ++i) {
            if (!found[i] && std::strcmp(name, names[i]) == 0) {
                found[i] = child;
                break;
            }
        }
    }
}

// UTF-8 for the file, leaving out what XML 1.0 cannot hold: control
// characters other than tab, LF and CR, U+FFFE, U+FFFF and unpaired
// surrogates.
QByteArray xmlUtf8(const QString& text)
{
    const auto* p = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    bool clean = true;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if ((c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF ||
            (c >= 0xD800 && c <= 0xDFFF)) {
            clean = false;
            break;
        }
    }
    if (clean)
        return text.toUtf8();

    QString kept;
    kept.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D)
            continue;
        if (c == 0xFFFE || c == 0xFFFF)
            continue;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
                kept.append(QChar(c));
                kept.append(QChar(p[i + 1]));
                ++i;
            }
            continue;
        }
        if (c >= 0xDC00 && c <= 0xDFFF)
            continue;
        kept.append(QChar(c));
    }
    return kept.toUtf8();
}

void appendValue(pugi::xml_node& parent, const char* name, const QByteArray& value)
{
    pugi::xml_node element = parent.append_child(name);
    if (!element)
        throw ESaveError();
    if (!value.isEmpty() && !element.append_child(pugi::node_pcdata).set_value(value.constData()))
        throw ESaveError();
}

void appendValue(pugi::xml_node& parent, const char* name, const QString& value)
{
    appendValue(parent, name, xmlUtf8(value));
}

void appendNumber(pugi::xml_node& parent, const char* name, qint64 value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
    *result.ptr = '\0';
    pugi::xml_node element = parent.append_child(name);
    if (!element || !element.append_child(pugi::node_pcdata).set_value(buffer))
        throw ESaveError();
}

// The entry text goes into one CDATA section as it stands. A text holding
// "]]>" cannot, so it is written as escaped character data instead; both
// read back the same.
void appendEntryText(pugi::xml_node& parent, const QString& text)
{
    pugi::xml_node element = parent.append_child("text");
    if (!element)
        throw ESaveError();
    const QByteArray utf8 = xmlUtf8(text);
    const pugi::xml_node_type type =
        utf8.contains("]]>") ? pugi::node_pcdata : pugi::node_cdata;
    if (!element.append_child(type).set_value(utf8.constData()))
        throw ESaveError();
}

class SaveFileWriter final : public pugi::xml_writer {
public:
    explicit SaveFileWriter(QSaveFile& file) : m_file(file) {}
    void write(const void* data, size_t size) override
    {
        if (m_failed)
            return;
        if (m_file.write(static_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
            m_failed = true;
    }
    bool failed() const { return m_failed; }

private:
    QSaveFile& m_file;
    bool m_failed = false;
};

// The minimum version of a parsed archive; empty when it names none.
QByteArray minVersionOf(const pugi::xml_document& doc)
{
    const pugi::xml_node archive = doc.document_element().child("phrarchive");
    const pugi::xml_node minVersion = archive.child("minversion");
    // Only a text or CDATA child counts; its text compared byte for byte.
    return QByteArray(minVersion.text().get());
}

bool parseFile(pugi::xml_document& doc, const QString& fileName)
{
    const pugi::xml_parse_result result =
        doc.load_file(QFile::encodeName(fileName).constData(), kParseFlags, pugi::encoding_auto);
    return static_cast<bool>(result);
}

bool isExistingFile(const QString& fileName)
{
    const QFileInfo info(fileName);
    return info.exists() && !info.isDir();
}

} // namespace

bool MinVersionIsNewer(const QByteArray& minVersion, const QByteArray& programVersion)
{
    // Unsigned byte comparison; a proper prefix is the smaller string.
    return std::lexicographical_compare(
        programVersion.begin(), programVersion.end(), minVersion.begin(), minVersion.end(),
        [](char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); });
}

TDocumentHandling::TDocumentHandling() : Language(std::make_unique<TLanguageHandling>())
{
    m_topLabel = Language->GetIdent(1);
}

TDocumentHandling::~TDocumentHandling() = default;

bool TDocumentHandling::CheckMinVersion(const QString& fileName)
{
    if (!isExistingFile(fileName))
        return true;
    pugi::xml_document doc;
    if (!parseFile(doc, fileName))
        return false;
    const QByteArray minVersion = minVersionOf(doc);
    if (minVersion.isEmpty())
        return true;
    return !MinVersionIsNewer(minVersion, TMainFunc().GetProgramVersion().toUtf8());
}

void TDocumentHandling::LoadArchive(TArchiveTree& tree, pugi::xml_document& doc)
{
    DocumentReset reset{doc};
    tree.Clear();

    // The minimum-version check works on the same parse as the read: a file
    // that cannot be parsed fails the check, one that does not exist passes
    // it and then fails the read.
    const bool exists = isExistingFile(FileName);
    if (exists) {
        if (!parseFile(doc, FileName))
            throw EVersionError();
        const QByteArray minVersion = minVersionOf(doc);
        if (!minVersion.isEmpty() &&
            MinVersionIsNewer(minVersion, TMainFunc().GetProgramVersion().toUtf8()))
            throw EVersionError();
    }

    TArchiveTree::Node top = tree.AddFirst(m_topLabel);
    tree.SetFolderId(top, 0);
    if (!exists)
        invalid();

    const pugi::xml_node archive = doc.document_element().child("phrarchive");
    if (!archive)
        invalid();
    try {
        readArchive(tree, archive);
    } catch (const EInvalidArchive&) {
        throw;
    } catch (const std::exception&) {
        throw EInvalidArchive();
    }
}

void TDocumentHandling::readArchive(TArchiveTree& tree, const pugi::xml_node& archive)
{
    const TDateTime now = NowDateTime();

    static const char* const headerNames[] = {"version", "caption",  "created", "updated",
                                              "readonly", "author", "copyright", "folders",
                                              "items"};
    pugi::xml_node header[std::size(headerNames)];
    collectChildren(archive, headerNames, header);

    Header.version = requiredInt(header[0]);
    Header.caption = stringValue(header[1]);
    Header.created = dateValue(header[2], now);
    Header.updated = dateValue(header[3], now);
    Header.readonly = boolValue(header[4]);
    Header.author = stringValue(header[5]);
    Header.copyright = stringValue(header[6]);
    Header.filename = FileName;

    // Folders, in document order, then sorted by parent (stable).
    static const char* const folderNames[] = {"id", "caption", "rootid"};
    for (pugi::xml_node child = header[7].first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        pugi::xml_node f[std::size(folderNames)];
        collectChildren(child, folderNames, f);
        TDirectoryInfo folder;
        folder.id = requiredInt(f[0]);
        folder.caption = stringValue(f[1]);
        folder.rootid = requiredInt(f[2]);
        Folders.append(folder);
    }
    std::stable_sort(Folders.begin(), Folders.end(),
                     [](const TDirectoryInfo& a, const TDirectoryInfo& b) {
                         return a.rootid < b.rootid;
                     });

    // Each folder goes below the first node, depth first, that carries its
    // parent's id. Ids are nearly always unique, so a map answers directly;
    // only an id given to several nodes needs the walk through the tree.
    const TArchiveTree::Node top = tree.TopNode();
    QHash<int, QList<TArchiveTree::Node>> nodesById;
    for (const TDirectoryInfo& folder : std::as_const(Folders)) {
        TArchiveTree::Node parent = top;
        if (folder.rootid != 0) {
            const auto it = nodesById.constFind(folder.rootid);
            if (it != nodesById.constEnd())
                parent = it->size() == 1 ? it->first() : FindFolderNode(folder.rootid, tree, top);
        }
        TArchiveTree::Node node = tree.AddChild(parent, FolderLabel(folder.caption, folder.id));
        tree.SetFolderId(node, folder.id);
        nodesById[folder.id].append(node);
    }

    // Entries keep their file order.
    static const char* const itemNames[] = {"id",          "folderid", "caption",   "created",
                                            "updated",     "description", "author", "copyright",
                                            "type",        "text"};
    qsizetype count = 0;
    for (pugi::xml_node child = header[8].first_child(); child; child = child.next_sibling())
        count += child.type() == pugi::node_element;
    Entries.reserve(Entries.size() + count);
    for (pugi::xml_node child = header[8].first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        pugi::xml_node e[std::size(itemNames)];
        collectChildren(child, itemNames, e);
        TDocumentInfo entry;
        entry.id = requiredInt(e[0]);
        entry.folderid = requiredInt(e[1]);
        entry.caption = stringValue(e[2]);
        entry.created = dateValue(e[3], now);
        entry.updated = dateValue(e[4], now);
        entry.description = stringValue(e[5]);
        entry.author = stringValue(e[6]);
        entry.copyright = stringValue(e[7]);
        entry.type = requiredInt(e[8]);
        entry.text = stringValue(e[9]);
        Entries.append(std::move(entry));
    }
}

void TDocumentHandling::WriteArchive(pugi::xml_document& doc, const QString& fileName)
{
    if (!fileName.isEmpty())
        Header.filename = fileName;
    DocumentReset reset{doc};
    try {
        doc.reset();
        pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
        declaration.append_attribute("version") = "1.0";
        declaration.append_attribute("encoding") = "utf-8";
        declaration.append_attribute("standalone") = "yes";
        pugi::xml_node archive = doc.append_child("phr").append_child("phrarchive");
        if (!archive)
            throw ESaveError();

        const qint64 now = DateTimeToFileSeconds(NowDateTime());
        appendValue(archive, "version", QByteArrayLiteral("1"));
        appendValue(archive, "caption", Header.caption);
        appendNumber(archive, "created", DateTimeToFileSeconds(Header.created));
        appendNumber(archive, "updated", now);
        appendValue(archive, "readonly",
                    Header.readonly ? QByteArrayLiteral("True") : QByteArrayLiteral("False"));
        appendValue(archive, "author", Header.author);
        appendValue(archive, "copyright", Header.copyright);
        appendValue(archive, "minversion", QByteArrayLiteral("1.0.0.0"));

        pugi::xml_node folders = archive.append_child("folders");
        for (const TDirectoryInfo& folder : std::as_const(Folders)) {
            if (folder.id == -1)
                continue;
            pugi::xml_node f = folders.append_child("folder");
            appendValue(f, "caption", folder.caption);
            appendNumber(f, "id", folder.id);
            appendNumber(f, "rootid", folder.rootid);
        }

        pugi::xml_node items = archive.append_child("items");
        for (const TDocumentInfo& entry : std::as_const(Entries)) {
            if (entry.id == -1)
                continue;
            pugi::xml_node item = items.append_child("item");
            appendNumber(item, "id", entry.id);
            appendNumber(item, "folderid", entry.folderid);
            appendValue(item, "caption", entry.caption);
            appendNumber(item, "created", DateTimeToFileSeconds(entry.created));
            appendNumber(item, "updated", now);
            appendValue(item, "description", entry.description);
            appendValue(item, "author", entry.author);
            appendValue(item, "copyright", entry.copyright);
            appendNumber(item, "type", entry.type);
            appendEntryText(item, entry.text);
        }

        // Replace the file atomically: a failed or interrupted save leaves
        // the old file whole.
        if (Header.filename.isEmpty())
            throw ESaveError();
        QSaveFile file(Header.filename);
        if (!file.open(QIODevice::WriteOnly))
            throw ESaveError();
        SaveFileWriter writer(file);
        doc.save(writer, "", pugi::format_raw | pugi::format_no_empty_element_tags,
                 pugi::encoding_utf8);
        if (writer.failed() || !file.commit())
            throw ESaveError();
    } catch (const ESaveError&) {
        throw;
    } catch (const std::exception&) {
        throw ESaveError();
    }
}

// --- folders ---------------------------------------------------------------

int TDocumentHandling::NextFolderId(const TArchiveTree& tree) const
{
    int greatest = 0;
    const TArchiveTree::Node top = tree.TopNode();
    if (!top)
        return 1;
    std::vector<TArchiveTree::Node> stack;
    for (int i = tree.ChildCount(top) - 1; i >= 0; --i)
        stack.push_back(tree.Child(top, i));
    while (!stack.empty()) {
        TArchiveTree::Node node = stack.back();
        stack.pop_back();
        int id = 0;
        if (FolderIdFromLabel(tree.Label(node), id))
            greatest = std::max(greatest, id);
        for (int i = tree.ChildCount(node) - 1; i >= 0; --i)
            stack.push_back(tree.Child(node, i));
    }
    return greatest + 1;
}

TArchiveTree::Node TDocumentHandling::FindFolderNode(int folderId, const TArchiveTree& tree,
                                                     TArchiveTree::Node start) const
{
    const TArchiveTree::Node top = tree.TopNode();
    if (!start)
        start = top;
    std::vector<TArchiveTree::Node> stack{start};
    while (!stack.empty()) {
        TArchiveTree::Node node = stack.back();
        stack.pop_back();
        int id = 0;
        if (node != top && FolderIdFromLabel(tree.Label(node), id) && id == folderId)
            return node;
        for (int i = tree.ChildCount(node) - 1; i >= 0; --i)
            stack.push_back(tree.Child(node, i));
    }
    return top;
}

int TDocumentHandling::parentIdOf(const TArchiveTree& tree, TArchiveTree::Node node) const
{
    if (!node || node == tree.TopNode() || tree.Label(node) == m_topLabel)
        return 0;
    int id = 0;
    return FolderIdFromLabel(tree.Label(node), id) ? id : 0;
}

void TDocumentHandling::AddFolder(const QString& caption, TArchiveTree& tree,
                                  TArchiveTree::Node parent)
{
    const int id = NextFolderId(tree);
    const int parentId = parentIdOf(tree, parent);
    if (!parent)
        parent = tree.TopNode();
    TArchiveTree::Node node = tree.AddChild(parent, FolderLabel(caption, id));
    tree.SetFolderId(node, id);
    Folders.append(TDirectoryInfo{id, parentId, caption});
}

void TDocumentHandling::RenameFolder(int folderId, const QString& caption)
{
    for (TDirectoryInfo& folder : Folders) {
        if (folder.id == folderId) {
            folder.caption = caption;
            return;
        }
    }
}

void TDocumentHandling::DeleteFolder(int folderId, TArchiveTree& tree, TArchiveTree::Node node)
{
    const auto found = std::find_if(Folders.cbegin(), Folders.cend(),
                                    [folderId](const TDirectoryInfo& f) { return f.id == folderId; });
    if (found == Folders.cend())
        return;

    // The folder and everything below it, level by level.
    QList<int> collected{folderId};
    for (qsizetype i = 0; i < collected.size(); ++i) {
        for (const TDirectoryInfo& folder : std::as_const(Folders)) {
            if (folder.id != -1 && folder.rootid == collected[i] && !collected.contains(folder.id))
                collected.append(folder.id);
        }
    }
    for (TDocumentInfo& entry : Entries) {
        if (entry.id != -1 && collected.contains(entry.folderid)) {
            entry.id = -1;
            entry.folderid = -1;
        }
    }
    tree.Delete(node);
    for (TDirectoryInfo& folder : Folders) {
        if (folder.id != -1 && collected.contains(folder.id)) {
            folder.id = -1;
            folder.rootid = -1;
        }
    }
}

// --- entries ---------------------------------------------------------------

TDocumentInfo* TDocumentHandling::findEntry(int entryId)
{
    for (TDocumentInfo& entry : Entries) {
        if (entry.id == entryId)
            return &entry;
    }
    return nullptr;
}

const TDocumentInfo* TDocumentHandling::findEntry(int entryId) const
{
    for (const TDocumentInfo& entry : Entries) {
        if (entry.id == entryId)
            return &entry;
    }
    return nullptr;
}

int TDocumentHandling::NextEntryId() const
{
    int greatest = 0;
    for (const TDocumentInfo& entry : Entries)
        greatest = std::max(greatest, entry.id);
    return greatest + 1;
}

template <typename Record>
void TDocumentHandling::addEntry(const Record& data, int folderId, int kind)
{
    TDocumentInfo entry;
    entry.id = NextEntryId();
    entry.folderid = folderId;
    entry.caption = data.caption;
    entry.description = data.description;
    entry.text = data.text;
    entry.type = kind;
    entry.created = entry.updated = NowDateTime();
    Entries.append(entry);
}

template <typename Record>
void TDocumentHandling::getEntry(int entryId, Record& data) const
{
    if (const TDocumentInfo* entry = findEntry(entryId)) {
        data.caption = entry->caption;
        data.description = entry->description;
        data.text = entry->text;
    }
}

template <typename Record>
void TDocumentHandling::changeEntry(const Record& data, int entryId)
{
    if (TDocumentInfo* entry = findEntry(entryId)) {
        entry->caption = data.caption;
        entry->description = data.description;
        entry->text = data.text;
    }
}

void TDocumentHandling::AddTextEntry(const TTextData& data, int folderId) { addEntry(data, folderId, ekText); }
void TDocumentHandling::AddRichTextEntry(const TRichTextData& data, int folderId) { addEntry(data, folderId, ekRichText); }
void TDocumentHandling::AddMailEntry(const TMailData& data, int folderId) { addEntry(data, folderId, ekMail); }
void TDocumentHandling::AddLinkEntry(const TLinkData& data, int folderId) { addEntry(data, folderId, ekLink); }

void TDocumentHandling::GetTextEntry(int entryId, TTextData& data) const { getEntry(entryId, data); }
void TDocumentHandling::GetRichTextEntry(int entryId, TRichTextData& data) const { getEntry(entryId, data); }
void TDocumentHandling::GetMailEntry(int entryId, TMailData& data) const { getEntry(entryId, data); }
void TDocumentHandling::GetLinkEntry(int entryId, TLinkData& data) const { getEntry(entryId, data); }

void TDocumentHandling::ChangeTextEntry(const TTextData& data, int entryId) { changeEntry(data, entryId); }
void TDocumentHandling::ChangeRichTextEntry(const TRichTextData& data, int entryId) { changeEntry(data, entryId); }
void TDocumentHandling::ChangeMailEntry(const TMailData& data, int entryId) { changeEntry(data, entryId); }
void TDocumentHandling::ChangeLinkEntry(const TLinkData& data, int entryId) { changeEntry(data, entryId); }

void TDocumentHandling::DeleteEntry(int entryId)
{
    if (TDocumentInfo* entry = findEntry(entryId)) {
        entry->id = -1;
        entry->folderid = -1;
    }
}

void TDocumentHandling::MoveEntry(int entryId, int folderId)
{
    if (TDocumentInfo* entry = findEntry(entryId))
        entry->folderid = folderId;
}

void TDocumentHandling::GetEntryProperties(int entryId, TDocHeader& header) const
{
    if (const TDocumentInfo* entry = findEntry(entryId)) {
        header.caption = entry->caption;
        header.description = entry->description;
        header.created = entry->created;
        header.updated = entry->updated;
        header.author = entry->author;
        header.copyright = entry->copyright;
        header.type = entry->type;
    }
}

void TDocumentHandling::SetEntryProperties(int entryId, const TDocHeader& header)
{
    if (TDocumentInfo* entry = findEntry(entryId)) {
        entry->caption = header.caption;
        entry->author = header.author;
        entry->copyright = header.copyright;
    }
}

void TDocumentHandling::ListEntries(int folderId, TEntryListView& list) const
{
    list.Clear();
    for (const TDocumentInfo& entry : Entries) {
        // Deleted records carry folder -1 too; they are never listed.
        if (entry.id == -1 || entry.folderid != folderId)
            continue;
        list.AddRow(QString::number(entry.id), entry.caption, entry.description,
                    KindName(entry.type), entry.type);
    }
}

void TDocumentHandling::ShowPreview(int entryId, TPreviewView& preview) const
{
    preview.Clear();
    const TDocumentInfo* entry = findEntry(entryId);
    if (!entry || entryId == -1)
        return;
    switch (entry->type) {
    case ekText:
        preview.ShowPlainText(entry->text);
        break;
    case ekMail:
    case ekLink:
        preview.LoadRtf(entry->text, true);
        break;
    default:
        preview.LoadRtf(entry->text, false);
        break;
    }
}
