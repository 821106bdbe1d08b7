#pragma once
// The chooser of a device folder, or of a file with one extension: the
// device's folder tree (read whole when the chooser opens), a path box that
// follows the tree's selection and, for a file, a name box. "Ok" hands back
// the folder path ending in "\" or the folder path and the file name.

#include <string>
#include <string_view>

#include "platform/qt/device_dialog.h"

class QTreeWidget;
class QTreeWidgetItem;
class QLabel;

namespace kelvane {

class edit_box;
class skin_button;
class skin;

class folder_chooser : public device_dialog {
    Q_OBJECT
public:
    static constexpr int cmd_ok = 32784;
    static constexpr int cmd_cancel = 32789;

    struct options {
        std::u16string start_path;
        std::u16string prompt;
        bool file_mode = false;
        std::u16string extension;  // file mode: with its point, e.g. ".csv"
        bool default_allowed = false;
    };

    folder_chooser(const skin& pieces, options o, QWidget* parent = nullptr);

    // The chosen path, once the chooser ended confirmed.
    const std::u16string& path() const { return path_; }

    // The controls, for the owner's taps in tests.
    QTreeWidget& tree() { return *tree_; }
    edit_box& path_box() { return *path_box_; }
    edit_box& name_box() { return *name_box_; }
    bool default_shown() const;
    // Selects the item of a device folder or file path in the tree, as a tap
    // would (its parents opened); false when the tree has no such item.
    bool select(std::u16string_view device_path);
    // The "Default" button: the automatic-backup folder in My Documents.
    void choose_default();

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_size(int width, int height) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void build_tree();
    // Adds the folders (and in file mode the files) found under the pattern's
    // folder below `parent`, and their subtrees.
    void fill(const std::u16string& folder, QTreeWidgetItem* parent, bool deep);
    void fill_pending(QTreeWidgetItem* item);
    QTreeWidgetItem* open_along(std::u16string_view path);
    std::u16string path_of(QTreeWidgetItem* item, std::u16string* file) const;
    void selection_changed();
    void accept();

    options options_;
    std::u16string path_;
    QLabel* prompt_;
    edit_box* path_box_;
    edit_box* name_box_;
    QTreeWidget* tree_;
    skin_button* ok_;
    skin_button* cancel_;
    skin_button* default_;
    QTreeWidgetItem* root_ = nullptr;
};

// Opens the chooser and returns the chosen path, or empty when dismissed.
std::u16string choose_folder(const skin& pieces, folder_chooser::options o);

}  // namespace kelvane
