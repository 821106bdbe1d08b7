#include "setup/cabinet/cabinet.h"

#include <libgcab.h>

namespace kelvane {

namespace {

// GLib's own error text, or a plain one when the library gave none.
std::string reason(const GError* error, const char* otherwise) {
    return error && error->message ? error->message : otherwise;
}

template <class F>
void for_each_file(GCabCabinet* cabinet, F f) {
    GPtrArray* folders = gcab_cabinet_get_folders(cabinet);
    for (guint i = 0; folders && i < folders->len; ++i) {
        GSList* list = gcab_folder_get_files(GCAB_FOLDER(g_ptr_array_index(folders, i)));
        for (GSList* l = list; l; l = l->next) f(GCAB_FILE(l->data));
        g_slist_free(list);
    }
}

}  // namespace

bool write_cabinet(const std::vector<cabinet_file>& files, std::vector<std::uint8_t>& out,
                   std::string& error) {
    out.clear();
    g_autoptr(GCabCabinet) cabinet = gcab_cabinet_new();
    g_autoptr(GCabFolder) folder = gcab_folder_new(GCAB_COMPRESSION_MSZIP);
    g_autoptr(GError) e = nullptr;
    for (const auto& file : files) {
        g_autoptr(GBytes) bytes = g_bytes_new(file.data.data(), file.data.size());
        g_autoptr(GCabFile) entry = gcab_file_new_with_bytes(file.name.c_str(), bytes);
        guint32 attributes = GCAB_FILE_ATTRIBUTE_ARCH;
        if (file.executable) attributes |= GCAB_FILE_ATTRIBUTE_EXEC;
        gcab_file_set_attributes(entry, attributes);
        if (!gcab_folder_add_file(folder, entry, FALSE, nullptr, &e)) {
            error = file.name + ": " + reason(e, "refused");
            return false;
        }
    }
    if (!gcab_cabinet_add_folder(cabinet, folder, &e)) {
        error = reason(e, "cannot add the folder");
        return false;
    }
    g_autoptr(GOutputStream) stream = g_memory_output_stream_new_resizable();
    if (!gcab_cabinet_write_simple(cabinet, stream, nullptr, nullptr, nullptr, &e) ||
        !g_output_stream_close(stream, nullptr, &e)) {
        error = reason(e, "cannot write the cabinet");
        return false;
    }
    auto* memory = G_MEMORY_OUTPUT_STREAM(stream);
    const auto* data = static_cast<const std::uint8_t*>(g_memory_output_stream_get_data(memory));
    out.assign(data, data + g_memory_output_stream_get_data_size(memory));
    return true;
}

bool read_cabinet(std::span<const std::uint8_t> bytes, std::vector<cabinet_file>& files,
                  std::string& error) {
    files.clear();
    g_autoptr(GInputStream) stream = g_memory_input_stream_new_from_data(
        bytes.data(), static_cast<gssize>(bytes.size()), nullptr);
    g_autoptr(GCabCabinet) cabinet = gcab_cabinet_new();
    g_autoptr(GError) e = nullptr;
    if (!gcab_cabinet_load(cabinet, stream, nullptr, &e)) {
        error = "not a cabinet: " + reason(e, "unreadable");
        return false;
    }
    // No folder given: every file is unpacked into memory.
    if (!gcab_cabinet_extract(cabinet, nullptr, nullptr, nullptr, nullptr, nullptr, &e)) {
        error = "damaged: " + reason(e, "cannot unpack");
        return false;
    }
    bool whole = true;
    for_each_file(cabinet, [&](GCabFile* entry) {
        cabinet_file file;
        file.name = gcab_file_get_name(entry);
        GBytes* data = gcab_file_get_bytes(entry);
        gsize size = 0;
        const auto* p =
            data ? static_cast<const std::uint8_t*>(g_bytes_get_data(data, &size)) : nullptr;
        if (size != gcab_file_get_size(entry)) {
            if (whole) error = "damaged: " + file.name + " is cut short";
            whole = false;
            return;
        }
        if (p) file.data.assign(p, p + size);
        file.executable = (gcab_file_get_attributes(entry) & GCAB_FILE_ATTRIBUTE_EXEC) != 0;
        files.push_back(std::move(file));
    });
    if (!whole) files.clear();
    return whole;
}

}  // namespace kelvane
