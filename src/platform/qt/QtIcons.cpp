#include "platform/qt/QtIcons.h"
#include <QApplication>
#include <QStyle>

namespace {

/// An icon name and the standard icon that stands in for it.
struct TStandardIconRow {
    const char16_t* Name;
    QStyle::StandardPixmap Standard;
};

// Only icons that every style draws on its own: the style's built-in set, without a theme.
constexpr TStandardIconRow StandardIcons[] = {
    {u"network-connect", QStyle::SP_ComputerIcon},
    {u"network-server", QStyle::SP_DriveNetIcon},
    {u"network-disconnect", QStyle::SP_DialogCloseButton},
    {u"system-reboot", QStyle::SP_BrowserReload},
    {u"media-skip-backward", QStyle::SP_MediaSkipBackward},
    {u"preferences-system", QStyle::SP_FileDialogDetailedView},
    {u"configure-toolbars", QStyle::SP_TitleBarMaxButton},
    {u"document-revert", QStyle::SP_DirHomeIcon},
    {u"edit-clear", QStyle::SP_DialogResetButton},
    {u"input-keyboard", QStyle::SP_FileDialogListView},
    {u"edit-paste", QStyle::SP_DialogOkButton},
    {u"document-send", QStyle::SP_FileLinkIcon},
    {u"process-stop", QStyle::SP_BrowserStop},
    {u"go-up", QStyle::SP_ArrowUp},
    {u"go-down", QStyle::SP_ArrowDown},
    {u"go-next", QStyle::SP_ArrowRight},
    {u"go-down-search", QStyle::SP_ArrowDown},
    {u"document-export", QStyle::SP_DriveHDIcon},
    {u"camera-photo", QStyle::SP_DesktopIcon},
    {u"document-print-preview", QStyle::SP_FileDialogContentsView},
    {u"document-new", QStyle::SP_FileIcon},
    {u"document-open", QStyle::SP_DialogOpenButton},
    {u"document-save", QStyle::SP_DialogSaveButton},
    {u"document-save-as", QStyle::SP_DriveFDIcon},
    {u"edit-undo", QStyle::SP_ArrowBack},
    {u"edit-redo", QStyle::SP_ArrowForward},
    {u"edit-copy", QStyle::SP_TitleBarNormalButton},
    {u"edit-cut", QStyle::SP_DialogCancelButton},
    {u"edit-delete", QStyle::SP_TrashIcon},
    {u"edit-table-delete-row", QStyle::SP_DialogDiscardButton},
    {u"edit-select", QStyle::SP_FileDialogInfoView},
    {u"edit-select-all", QStyle::SP_DialogApplyButton},
    {u"insert-object", QStyle::SP_FileDialogNewFolder},
    {u"edit-table-insert-row-above", QStyle::SP_TitleBarShadeButton},
    {u"edit-table-insert-row-below", QStyle::SP_TitleBarUnshadeButton},
    {u"accessories-dictionary", QStyle::SP_DirIcon},
    {u"view-refresh", QStyle::SP_BrowserReload},
    {u"edit-find", QStyle::SP_FileDialogContentsView},
    {u"edit-find-replace", QStyle::SP_FileDialogContentsView},
    {u"format-justify-left", QStyle::SP_FileDialogDetailedView},
    {u"format-indent-more", QStyle::SP_MediaSeekForward},
    {u"format-indent-less", QStyle::SP_MediaSeekBackward},
};

/// The icon with an enlarged copy when the style draws it only smaller than a tool bar's icons, so
/// that a tool bar shows all its images at one size.
QIcon LargeEnough(QIcon icon)
{
    const int wanted = QApplication::style()->pixelMetric(QStyle::PM_ToolBarIconSize);
    QSize largest;
    for (const QSize& size : icon.availableSizes())
        if (size.width() > largest.width()) largest = size;
    if (largest.isEmpty() || largest.width() >= wanted) return icon;
    const QImage small = icon.pixmap(largest).toImage();
    icon.addPixmap(QPixmap::fromImage(small.scaled(wanted, wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    return icon;
}

QIcon StandardIcon(const UnicodeString& name)
{
    for (const TStandardIconRow& row : StandardIcons)
        if (name == row.Name) return LargeEnough(QApplication::style()->standardIcon(row.Standard));
    return {};
}

} // namespace

QIcon ActionIcon(const UnicodeString& name)
{
    if (name.empty()) return {};
    return QIcon::fromTheme(QString::fromStdU16String(name), StandardIcon(name));
}
