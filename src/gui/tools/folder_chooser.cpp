#include "gui/tools/folder_chooser.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>
#include <algorithm>

#include "core/accounts/configuration.h"
#include "core/common/folders.h"
#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr int kind_role = Qt::UserRole;         // 0 folder, 1 file
constexpr int pending_role = Qt::UserRole + 1;  // subtree not read yet
constexpr int folder_kind = 0, file_kind = 1;
// How many levels of the device's tree are read when the chooser opens;
// deeper folders are read as they are opened. A folder that links back to
// one of its parents would otherwise be read without end.
constexpr std::size_t levels_read_at_open = 8;

// Only plain folders are listed; a storage card reports itself as a
// temporary folder. Hidden, read-only or system folders are left out; a
// link to a folder is listed as the folder it leads to.
bool is_listed_folder(std::uint32_t attributes) {
    attributes &= ~attribute_link;
    return attributes == attribute_directory ||
           attributes == (attribute_directory | attribute_temporary);
}

}  // namespace

folder_chooser::folder_chooser(const skin& pieces, options o, QWidget* parent)
    : device_dialog(parent), options_(std::move(o)) {
    set_caption(u"Kelvane");
    set_cancel_command(cmd_cancel);
    prompt_ = new QLabel(this);
    prompt_->setWordWrap(true);
    path_box_ = new edit_box(this);
    path_box_->text_box = true;
    path_box_->capitalise_first = false;
    name_box_ = new edit_box(this);
    name_box_->text_box = true;
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    ok_ = new skin_button(pieces, this);
    cancel_ = new skin_button(pieces, this);
    default_ = new skin_button(pieces, this);
    connect(ok_, &QAbstractButton::clicked, this, [this] { on_command(cmd_ok); });
    connect(cancel_, &QAbstractButton::clicked, this, [this] { on_command(cmd_cancel); });
    connect(default_, &QAbstractButton::clicked, this, [this] { choose_default(); });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { selection_changed(); });
    connect(tree_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { fill_pending(item); });
    tree_->installEventFilter(this);
}

bool folder_chooser::eventFilter(QObject* watched, QEvent* e) {
    // Enter opens the selected folder.
    if (watched == tree_ && e->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        if ((k == Qt::Key_Return || k == Qt::Key_Enter) && tree_->currentItem()) {
            tree_->currentItem()->setExpanded(true);
            return true;
        }
    }
    return device_dialog::eventFilter(watched, e);
}

bool folder_chooser::default_shown() const {
    return !default_->isHidden();
}

void folder_chooser::init_dialog() {
    set_menu({menu_command(u"Ok", cmd_ok), menu_command(u"Cancel", cmd_cancel)});
    device_shell().set_input_panel(false);

    std::u16string folder = options_.start_path;
    if (options_.file_mode) {
        // "\folder\name.ext": the name goes into its own box. A path that
        // ends in "\" names a folder only and leaves the name to be typed.
        std::u16string_view p = folder;
        const bool folder_only = !p.empty() && p.back() == u'\\';
        if (folder_only) p.remove_suffix(1);
        if (!p.empty() && p.front() == u'\\') p.remove_prefix(1);
        const auto last = folder_only ? p.size() : p.rfind(u'\\');
        const std::u16string_view name =
            last == std::u16string_view::npos ? p : p.substr(std::min(p.size(), last + 1));
        const std::u16string_view rest =
            last == std::u16string_view::npos ? std::u16string_view() : p.substr(0, last);
        name_box_->set_text(name);
        // The folder keeps its backslashes, so that it is created and opened
        // like a folder-mode start path.
        folder = rest.empty() ? u"\\" : u"\\" + std::u16string(rest) + u"\\";
    }
    path_box_->set_text(folder);
    make_folder_path(folder);
    build_tree();
    open_along(folder);

    prompt_->setText(to_qstring(options_.prompt));
    ok_->set_text(kelvane::tr(u"Ok"));
    cancel_->set_text(kelvane::tr(u"Cancel"));
    default_->set_text(kelvane::tr(u"Default"));
    if (!options_.file_mode) name_box_->hide();
    if (!options_.default_allowed) default_->hide();
    tree_->setFocus();
}

void folder_chooser::build_tree() {
    tree_->clear();
    root_ = new QTreeWidgetItem(tree_, QStringList(QStringLiteral("\\")));
    root_->setData(0, kind_role, folder_kind);
    fill(u"\\", root_, true);
    root_->setExpanded(true);
}

void folder_chooser::fill(const std::u16string& folder, QTreeWidgetItem* parent, bool deep) {
    auto& files = device_files();
    for (const find_entry& entry : files.find(folder + u"*.*")) {
        if (!is_listed_folder(entry.attributes)) continue;
        auto* item = new QTreeWidgetItem(parent, QStringList(to_qstring(entry.name)));
        item->setData(0, kind_role, folder_kind);
        // A storage card, and everything on it, is read as it is opened: on
        // the host it is the user's whole home folder.
        const bool card = (entry.attributes & ~attribute_link) != attribute_directory;
        const auto levels =
            static_cast<std::size_t>(std::count(folder.begin(), folder.end(), u'\\'));
        if (deep && !card && levels < levels_read_at_open) {
            fill(folder + entry.name + u"\\", item, true);
        } else {
            item->setData(0, pending_role, true);
            item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        }
    }
    if (options_.file_mode) {
        for (const find_entry& entry : files.find(folder + u"*" + options_.extension)) {
            if (entry.attributes & attribute_directory) continue;
            auto* item = new QTreeWidgetItem(parent, QStringList(to_qstring(entry.name)));
            item->setData(0, kind_role, file_kind);
        }
    }
}

void folder_chooser::fill_pending(QTreeWidgetItem* item) {
    if (!item || !item->data(0, pending_role).toBool()) return;
    item->setData(0, pending_role, false);
    fill(path_of(item, nullptr), item, false);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* folder_chooser::open_along(std::u16string_view path) {
    while (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
    QTreeWidgetItem* at = root_;
    QTreeWidgetItem* found = nullptr;
    std::size_t start = 0;
    while (start < path.size()) {
        auto end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) end = path.size();
        const auto part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        fill_pending(at);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < at->childCount() && !next; ++i)
            if (same_name_ignoring_case(at->child(i)->text(0).toStdU16String(), part))
                next = at->child(i);
        if (!next) break;
        fill_pending(next);
        next->setExpanded(true);
        tree_->setCurrentItem(next);
        at = found = next;
    }
    if (found) tree_->scrollToItem(found);
    return found;
}

bool folder_chooser::select(std::u16string_view device_path) {
    if (device_path == u"\\") {
        tree_->setCurrentItem(root_);
        return true;
    }
    QTreeWidgetItem* item = open_along(device_path);
    if (!item) return false;
    // The whole path must have matched, not just its start.
    std::u16string file;
    std::u16string shown = path_of(item, &file);
    if (!file.empty()) shown += file;
    std::u16string wanted(device_path);
    if (!wanted.empty() && wanted.front() != u'\\') wanted.insert(wanted.begin(), u'\\');
    if (file.empty() && (wanted.empty() || wanted.back() != u'\\')) wanted += u'\\';
    return same_name_ignoring_case(shown, wanted);
}

std::u16string folder_chooser::path_of(QTreeWidgetItem* item, std::u16string* file) const {
    if (!item || item == root_) return u"\\";
    std::u16string path;
    if (item->data(0, kind_role).toInt() == file_kind) {
        if (file) *file = item->text(0).toStdU16String();
        item = item->parent();
    }
    for (; item && item != root_; item = item->parent())
        path = u"\\" + item->text(0).toStdU16String() + path;
    return path + u"\\";
}

void folder_chooser::selection_changed() {
    QTreeWidgetItem* item = tree_->currentItem();
    if (!item) return;
    std::u16string file;
    path_box_->set_text(path_of(item, &file));
    if (!file.empty()) name_box_->set_text(file);
}

void folder_chooser::choose_default() {
    const std::u16string folder =
        device().personal_folder() + u"\\" + kelvane::tr(u"Kelvane_backup_auto") + u"\\";
    path_box_->set_text(folder);
    make_folder_path(folder);
    build_tree();
    open_along(folder);
    path_box_->set_text(folder);
    tree_->setFocus();
}

void folder_chooser::accept() {
    std::u16string path = path_box_->get_text();
    if (options_.file_mode) {
        std::u16string name = name_box_->get_text();
        if (name.empty()) {
            show_message(u"File name can not be empty.");
            return;
        }
        if (!(name.size() > options_.extension.size() &&
              ends_with_ignoring_case(name, options_.extension)))
            name += options_.extension;
        if (path.empty() || path.back() != u'\\') path += u'\\';
        path += name;
    }
    path_ = path;
    end_dialog(confirmed);
}

void folder_chooser::on_command(int command) {
    if (command == cmd_ok)
        accept();
    else if (command == cmd_cancel)
        end_dialog(dismissed);
}

void folder_chooser::on_size(int width, int height) {
    const int margin = 3;
    const int line = scaled_font_size(13) + 8;
    const int inner = std::max(0, width - 2 * margin);
    const QFont font = device_font({u"Arial", scaled_font_size(12)});
    prompt_->setFont(font);
    // A long prompt (or its translation) takes a second line instead of
    // being cut off.
    const int prompt_height = std::max(line, prompt_->heightForWidth(inner));
    prompt_->setGeometry(margin, margin, inner, prompt_height);
    int y = margin + prompt_height + 2;
    path_box_->setGeometry(margin, y, inner, line);
    y += line + 2;
    // A folder needs no name box: the tree takes its room.
    if (options_.file_mode) {
        name_box_->setGeometry(margin, y, inner, line);
        y += line + 2;
    }
    const int button_height = 24;
    const int buttons_top = std::max(y, height - margin - button_height);
    tree_->setFont(font);
    tree_->setGeometry(margin, y, inner, std::max(0, buttons_top - 2 - y));
    const int count = 3;
    const int w = (inner - (count - 1) * 4) / count;
    ok_->setGeometry(margin, buttons_top, w, button_height);
    cancel_->setGeometry(margin + w + 4, buttons_top, w, button_height);
    default_->setGeometry(margin + 2 * (w + 4), buttons_top, w, button_height);
}

std::u16string choose_folder(const skin& pieces, folder_chooser::options o) {
    folder_chooser chooser(pieces, std::move(o));
    if (chooser.exec() != device_dialog::confirmed) return {};
    return chooser.path();
}

}  // namespace kelvane
