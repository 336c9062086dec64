#include "cli/SlipsLoader.h"

#include <QByteArray>
#include <QCoreApplication>

#include <climits>

#include <dlfcn.h>
#include <unistd.h>

namespace {

// The program's folder from the kernel, since the application object may not exist yet or any more.
QByteArray programFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || length == ssize_t(sizeof path))
        return {};
    QByteArray folder(path, length);
    return folder.left(folder.lastIndexOf('/') + 1);
}

} // namespace

std::unique_ptr<SlipsLoader> SlipsLoader::load(QString& error)
{
    const QByteArray path = programFolder() + VARNEL_SLIPS_MODULE_FROM_BIN;
    // Never unloaded: the application object it makes lives until the program ends.
    void* handle = ::dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    auto module = std::make_unique<SlipsLoader>();
    if (handle) {
        module->makeApplication_ = reinterpret_cast<MakeSlipsApplication>(::dlsym(handle, SlipsApplicationSymbol));
        module->makeSheet_ = reinterpret_cast<MakeSlipSheet>(::dlsym(handle, SlipsSheetSymbol));
    }
    if (!module->makeApplication_ || !module->makeSheet_) {
        const char* reason = ::dlerror();
        error = reason ? QString::fromLocal8Bit(reason)
                       : QStringLiteral("cannot load %1").arg(QString::fromLocal8Bit(path));
        return nullptr;
    }
    return module;
}

std::unique_ptr<QCoreApplication> SlipsLoader::makeApplication(int& argc, char** argv) const
{
    return std::unique_ptr<QCoreApplication>(makeApplication_(argc, argv));
}

std::unique_ptr<SlipSheet> SlipsLoader::makeSheet(QIODevice& device, const SlipStyle& style) const
{
    return std::unique_ptr<SlipSheet>(makeSheet_(device, style));
}
