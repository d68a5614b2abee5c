#include "platform/gio/gio_shell.h"

#include <fcntl.h>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numeric>
#include <string_view>

#include "platform/codec.h"

namespace zorvek {

namespace {

struct ObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using Object = std::unique_ptr<T, ObjectUnref>;

struct Free {
  void operator()(gpointer memory) const { g_free(memory); }
};
using Text = std::unique_ptr<char, Free>;

struct ErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};
using Error = std::unique_ptr<GError, ErrorFree>;

OpenResult result(bool done) {
  return done ? OpenResult::ok : OpenResult::failed;
}

// path made absolute against the current directory, without its "." parts. ".." parts stay: what
// they lead to depends on symbolic links, which only the system resolves.
std::string absolute(const std::string& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::current_path(error);
  if (error) return path;
  full /= path;  // an absolute path replaces the current directory
  const auto join = [](std::filesystem::path out, const std::filesystem::path& part) {
    return part == "." ? out : out / part;
  };
  return std::accumulate(full.begin(), full.end(), std::filesystem::path(), join).string();
}

// A file the system itself can run: executable for us, and an ELF binary or a "#!" script.
bool is_program(const std::string& path) {
  if (access(path.c_str(), X_OK) != 0) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  // Only a binary can be run without being readable.
  if (fd < 0) return errno == EACCES;
  char head[4] = {};
  const ssize_t got = read(fd, head, sizeof head);
  close(fd);
  const std::string_view start(head, got > 0 ? static_cast<std::size_t>(got) : 0);
  return start.starts_with("\177ELF") || start.starts_with("#!");
}

// Runs in the started application's process, between fork and exec.
void enter_folder(gpointer folder) {
  [[maybe_unused]] const int ignored = chdir(static_cast<const char*>(folder));
}

// Starts app, handing it uri when there is one, in folder unless the application names its own.
OpenResult launch(GAppInfo* app, const char* uri, const std::string& folder) {
  GList* uris = uri != nullptr ? g_list_prepend(nullptr, const_cast<char*>(uri)) : nullptr;
  GError* error = nullptr;
  gboolean done;
  if (G_IS_DESKTOP_APP_INFO(app)) {
    auto* desktop = G_DESKTOP_APP_INFO(app);
    const Text own_folder(g_desktop_app_info_get_string(desktop, G_KEY_FILE_DESKTOP_KEY_PATH));
    const bool keep_own = own_folder != nullptr && *own_folder != '\0';
    done = g_desktop_app_info_launch_uris_as_manager(
        desktop, uris, nullptr, G_SPAWN_SEARCH_PATH, keep_own ? nullptr : enter_folder,
        const_cast<char*>(folder.c_str()), nullptr, nullptr, &error);
  } else {
    done = g_app_info_launch_uris(app, uris, nullptr, &error);
  }
  g_list_free(uris);
  const Error owned(error);
  return result(done);
}

OpenResult open_with_default(const char* content_type, const std::string& path,
                             const std::string& folder) {
  const Object<GAppInfo> app(g_app_info_get_default_for_type(content_type, FALSE));
  if (!app) return OpenResult::failed;
  const Object<GFile> file(g_file_new_for_path(path.c_str()));
  const Text uri(g_file_get_uri(file.get()));
  return launch(app.get(), uri.get(), folder);
}

OpenResult open_document(const std::string& path, const std::string& folder) {
  const Object<GFile> file(g_file_new_for_path(path.c_str()));
  GError* error = nullptr;
  const Object<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, &error));
  const Error owned(error);
  if (!info) return OpenResult::failed;
  const char* type = g_file_info_get_content_type(info.get());
  if (type == nullptr) return OpenResult::failed;
  return open_with_default(type, path, folder);
}

OpenResult open_desktop_file(const std::string& path, const std::string& folder) {
  const Object<GDesktopAppInfo> app(g_desktop_app_info_new_from_filename(path.c_str()));
  if (!app) return OpenResult::failed;
  return launch(G_APP_INFO(app.get()), nullptr, folder);
}

OpenResult run_program(const std::string& path, const std::string& folder) {
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  GError* error = nullptr;
  // Without G_SPAWN_DO_NOT_REAP_CHILD GLib forks twice and reaps the go-between itself.
  const gboolean done = g_spawn_async(folder.c_str(), argv, nullptr, G_SPAWN_DEFAULT, nullptr,
                                      nullptr, nullptr, &error);
  const Error owned(error);
  return result(done);
}

// A name such as "https://example.com/": a scheme, a colon and two slashes.
bool is_uri(const std::string& name) {
  const Text scheme(g_uri_parse_scheme(name.c_str()));
  return scheme != nullptr && name.compare(std::strlen(scheme.get()), 3, "://") == 0;
}

OpenResult open_uri(const std::string& uri) {
  GError* error = nullptr;
  const gboolean done = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error);
  const Error owned(error);
  return result(done);
}

}  // namespace

OpenResult GioShell::open(const std::string& file, const std::string& directory) {
  // An empty name would stand for the current directory; callers never mean that.
  if (file.empty()) return OpenResult::failed;
  const std::string name = codec::to_utf8(file);
  const std::string path = absolute(name);
  const std::string folder = absolute(codec::to_utf8(directory));

  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    const int cause = errno;
    if (is_uri(name)) return open_uri(name);
    return cause == ENOENT || cause == ENOTDIR ? OpenResult::not_found : OpenResult::failed;
  }
  if (S_ISDIR(status.st_mode)) return open_with_default("inode/directory", path, folder);
  if (S_ISREG(status.st_mode)) {
    if (path.ends_with(".desktop")) return open_desktop_file(path, folder);
    if (is_program(path)) return run_program(path, folder);
  }
  return open_document(path, folder);
}

}  // namespace zorvek
