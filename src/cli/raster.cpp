#include "raster.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "app/app_state.h"
#include "model/model_file.h"

namespace vortak {

namespace {

// The folder of the running program, from the kernel's own link.
std::string programFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    const std::string exe(path, std::size_t(length));
    const std::size_t slash = exe.find_last_of('/');
    return slash == std::string::npos ? "." : exe.substr(0, slash);
}

// Beside the program in a build tree, or in its library folder once installed. Loaded
// once; never unloaded, as the toolkit does not expect to be.
VortakRasterPicture loadModule(std::string& error) {
    static VortakRasterPicture entry = nullptr;
    static std::string loadError;
    static bool tried = false;
    if (!tried) {
        tried = true;
        const std::string folder = programFolder();
        for (const std::string& candidate :
             {folder + "/" + kRasterModuleName, folder + "/../lib/vortak/" + kRasterModuleName}) {
            void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (handle == nullptr) {
                if (loadError.empty() || access(candidate.c_str(), F_OK) == 0) {
                    const char* why = dlerror();
                    loadError = why ? why : candidate;
                }
                continue;
            }
            entry = reinterpret_cast<VortakRasterPicture>(dlsym(handle, kRasterEntryPoint));
            if (entry != nullptr) break;
            loadError = candidate + " has no picture entry point";
        }
    }
    if (entry == nullptr) {
        error = "PNG and BMP pictures need the module " + std::string(kRasterModuleName) +
                ", which could not be loaded: " + loadError;
    }
    return entry;
}

}  // namespace

std::string writeRasterPicture(const AppState& app, PictureFormat format, int width, int height,
                               const std::string& output) {
    std::string error;
    const VortakRasterPicture picture = loadModule(error);
    if (picture == nullptr) return error;
    // The model as it stands, with the view fitted for this picture: the module reads it
    // back exactly (every number is written so that it does).
    const std::string text = modelFileText(app.model, app.settings, app.view);
    char reason[512] = "";
    const int status = picture(text.data(), text.size(), int(app.currentView), width, height,
                               format == PictureFormat::Bmp ? "BMP" : "PNG", output.c_str(), reason,
                               sizeof reason);
    if (status == 0) return {};
    return reason[0] != '\0' ? std::string(reason) : std::string("the picture was not written");
}

}  // namespace vortak
