// GetOpenFileNameA over Qt's own file dialog. Paths are the file system's
// bytes, as CreateFileA takes them; the other texts are code page 932.
#include "comdlg32.h"
#include "filters.h"
#include "testing.h"

#include "../codepage/codepage.h"
#include "../fixme.h"
#include "../user32/eventloop.h"
#include "../user32/frame.h"
#include "../user32/user32.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMimeDatabase>
#include <QPixmapCache>
#include <QSplitter>
#include <QTreeView>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

DWORD lastError = 0;
std::function<void(const char*)> choiceHook;

constexpr std::size_t kFilterLimit = 64 * 1024;

QString fromUtf16(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString fromCodePage(LPCSTR text)
{
    return fromUtf16(codepage::ToUtf16(text));
}

// The record's filters in Qt's form; the details (Qt's own pattern syntax)
// stay hidden, so each entry reads as the program's description.
QStringList nameFilters(const OPENFILENAMEA& record)
{
    QStringList result;
    for (const comdlg32::NameFilter& filter : comdlg32::ReadFilters(record.lpstrFilter, kFilterLimit))
        result << fromUtf16(filter.description) + QStringLiteral(" (") + fromUtf16(filter.patterns) + QStringLiteral(")");
    return result;
}

// Qt reads quotes in the name field as a list of names, and gives every name
// without an extension the default one. A file named exactly as typed (quotes
// are legal in names here; a device or a name without an extension) is
// taken as it stands, unless the name with the default extension exists.
class OpenDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    QString typedPath; // the file taken as typed, else empty

protected:
    void accept() override
    {
        auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QString text = edit != nullptr ? edit->text() : QString();
        if (!text.isEmpty()) {
            QFileInfo typed(directory().absoluteFilePath(text));
            bool withDefault = !defaultSuffix().isEmpty() && typed.suffix().isEmpty()
                               && QFileInfo::exists(typed.filePath() + u'.' + defaultSuffix());
            if (typed.exists() && !typed.isDir() && !withDefault) {
                typedPath = typed.absoluteFilePath();
                QDialog::accept();
                return;
            }
        }
        QFileDialog::accept();
    }
};

// Icons and the Type column from names alone. Qt's own provider reads the
// start of every listed file to guess its type, and some files never answer
// (a FIFO, /proc/kmsg): the dialog, and the program's one thread, would wait
// for ever. A file is looked at (stat), never read.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
    QString type(const QFileInfo& info) const override
    {
        if (info.isDir()) {
            // A folder's type is not read. Qt names it ("Folder", "Drive")
            // in a context its translations do not all hold; the file
            // dialog's own context has the same words.
            QByteArray word = QFileIconProvider::type(info).toUtf8();
            return QCoreApplication::translate("QFileDialog", word.constData());
        }
        // The type's comment is in the user's language already.
        QMimeType mimeType = mimeTypes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
        return mimeType.comment().isEmpty() ? mimeType.name() : mimeType.comment();
    }

private:
    QMimeDatabase mimeTypes_;
};

bool fail(DWORD error)
{
    lastError = error;
    return false;
}

// Several files as the Explorer-style dialog gives them: the folder, then
// each name, each ended by a zero, and one more zero after the last. Names
// typed with their folders may come from several: the folder is then the
// one that holds them all, and each name goes on from it ("a/x.PID").
QByteArray folderAndNames(const QStringList& files)
{
    std::vector<QByteArray> paths;
    for (const QString& file : files)
        paths.push_back(QFile::encodeName(QFileInfo(file).absoluteFilePath()));
    // The slash that ends the folder, in every path at the same place; the
    // root's (0) is in all of them.
    const QByteArray& first = paths.front();
    qsizetype end = first.lastIndexOf('/');
    for (const QByteArray& path : paths) {
        while (end > 0 && !(path.size() > end && path[end] == '/' && path.startsWith(first.left(end))))
            end = first.lastIndexOf('/', end - 1);
    }
    QByteArray result = end > 0 ? first.left(end) : QByteArray("/");
    for (const QByteArray& path : paths)
        result += '\0' + path.mid(end + 1);
    return result + '\0';
}

// Qt's dialog opens at a size that cuts its columns ("41…", "2026/1…") and
// the names of the places beside them: it gets room, the places their width,
// and each column the width of what it shows once a folder is read (the
// visible rows only, so a big folder costs no more).
void GiveColumnsRoom(QFileDialog& dialog)
{
    dialog.resize(dialog.sizeHint().expandedTo(QSize(820, 480)));
    auto* sidebar = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
    auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
    if (sidebar != nullptr && splitter != nullptr) {
        int places = sidebar->sizeHintForColumn(0) + 2 * sidebar->frameWidth() + 8;
        splitter->setSizes({places, dialog.width() - places});
    }
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* model = tree != nullptr ? qobject_cast<QFileSystemModel*>(tree->model()) : nullptr;
    if (model == nullptr)
        return;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, tree, [tree] {
        int others = 0;
        for (int column = 1; column < tree->header()->count(); ++column) {
            tree->resizeColumnToContents(column);
            others += tree->columnWidth(column);
        }
        int names = static_cast<QAbstractItemView*>(tree)->sizeHintForColumn(0);
        tree->setColumnWidth(0, std::max(names, tree->viewport()->width() - others));
    });
}

} // namespace

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA lpofn)
{
    lastError = 0;
    if (lpofn == nullptr || lpofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A)
        return fail(CDERR_STRUCTSIZE);
    if (lpofn->lpstrFile == nullptr || lpofn->nMaxFile == 0)
        return fail(CDERR_INITIALIZATION);
    if (lpofn->hwndOwner != nullptr && !IsWindow(lpofn->hwndOwner))
        return fail(CDERR_INITIALIZATION);

    NameOnlyIconProvider iconProvider; // outlives the dialog, which does not own it
    OpenDialog dialog(lpofn->hwndOwner != nullptr ? user32::OwnerWidget(lpofn->hwndOwner) : nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&iconProvider);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((lpofn->Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (lpofn->Flags & OFN_ALLOWMULTISELECT) {
        dialog.setFileMode(QFileDialog::ExistingFiles);
        if (!(lpofn->Flags & OFN_EXPLORER))
            layer::Fixme("GetOpenFileNameA: several names are always separated as with OFN_EXPLORER");
    }
    if (lpofn->lpstrTitle != nullptr)
        dialog.setWindowTitle(fromCodePage(lpofn->lpstrTitle));
    QStringList filters = nameFilters(*lpofn);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        // Index 0 (no custom filter) and 1 both mean the first pair.
        qsizetype index = lpofn->nFilterIndex > 0 ? static_cast<qsizetype>(lpofn->nFilterIndex) - 1 : 0;
        dialog.selectNameFilter(filters.value(index, filters.first()));
    }
    if (lpofn->lpstrDefExt != nullptr)
        dialog.setDefaultSuffix(fromCodePage(lpofn->lpstrDefExt));

    // The name already in the buffer (the previous choice) comes up selected.
    std::size_t given = strnlen(lpofn->lpstrFile, lpofn->nMaxFile);
    QString previous = QFile::decodeName(QByteArray(lpofn->lpstrFile, static_cast<qsizetype>(given)));
    if (!previous.isEmpty()) {
        QFileInfo info(previous);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    } else if (lpofn->lpstrInitialDir != nullptr) {
        dialog.setDirectory(QFile::decodeName(lpofn->lpstrInitialDir));
    }

    GiveColumnsRoom(dialog);
    dialog.setWindowModality(lpofn->hwndOwner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    bool done = false;
    QObject::connect(&dialog, &QDialog::finished, [&done](int) { done = true; });
    dialog.show();
    user32::RunModalLoop(lpofn->hwndOwner, [&done] { return done; });
    // Qt caches the pixmaps of every icon the dialog drew under keys of
    // those icons, which go with the dialog: left there, the cache would
    // grow by 20 to 30 KiB with each Open until it reaches its limit.
    QPixmapCache::clear();
    if (dialog.result() != QDialog::Accepted)
        return FALSE; // cancelled: no extended error
    QString chosen = dialog.typedPath;
    QStringList selected = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        if (selected.isEmpty())
            return FALSE;
        chosen = selected.first();
    }

    // One file is one whole path, however it was chosen.
    QByteArray path = chosen == dialog.typedPath || selected.size() == 1 ? QFile::encodeName(chosen)
                                                                          : folderAndNames(selected);
    if (static_cast<std::size_t>(path.size()) + 1 > lpofn->nMaxFile) {
        // The buffer's first two bytes tell the size that would have fitted.
        if (lpofn->nMaxFile >= 2) {
            WORD needed = static_cast<WORD>(std::min<qsizetype>(path.size() + 1, 0xFFFF));
            std::memcpy(lpofn->lpstrFile, &needed, sizeof needed);
        }
        return fail(FNERR_BUFFERTOOSMALL);
    }
    std::memcpy(lpofn->lpstrFile, path.constData(), static_cast<std::size_t>(path.size()));
    lpofn->lpstrFile[path.size()] = '\0';
    if (path.contains('\0')) {
        lpofn->nFileOffset = static_cast<WORD>(path.indexOf('\0') + 1);
        lpofn->nFileExtension = 0;
        if (choiceHook)
            choiceHook(lpofn->lpstrFile);
        return TRUE;
    }
    qsizetype slash = path.lastIndexOf('/');
    qsizetype nameStart = slash + 1;
    qsizetype dot = path.lastIndexOf('.');
    lpofn->nFileOffset = static_cast<WORD>(nameStart);
    lpofn->nFileExtension = static_cast<WORD>(dot > slash ? dot + 1 : path.size());
    if (lpofn->lpstrFileTitle != nullptr && lpofn->nMaxFileTitle > 0) {
        QByteArray name = path.mid(nameStart);
        std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(name.size()), lpofn->nMaxFileTitle - 1);
        std::memcpy(lpofn->lpstrFileTitle, name.constData(), length);
        lpofn->lpstrFileTitle[length] = '\0';
    }
    if (choiceHook)
        choiceHook(lpofn->lpstrFile);
    return TRUE;
}

void comdlg32::testing::SetChoiceHook(std::function<void(const char* path)> hook)
{
    choiceHook = std::move(hook);
}

DWORD WINAPI CommDlgExtendedError(void)
{
    return lastError;
}
