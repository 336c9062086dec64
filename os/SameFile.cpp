#include "os/SameFile.h"

#include "os/LinkRule.h"
#include "os/NativeFileName.h"

#include <optional>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace {

struct Place
{
    dev_t folderDevice = 0;
    ino_t folderInode = 0;
    QByteArray name;
    std::optional<std::pair<dev_t, ino_t>> file;

    bool isOf(const Place& other) const
    {
        return (folderDevice == other.folderDevice && folderInode == other.folderInode && name == other.name)
            || (file && file == other.file);
    }
};

std::optional<Place> placeOf(const QString& path)
{
    FileDescriptor folder;
    Place place;
    struct stat target = {};
    bool exists = false;
    bool stream = false;
    struct stat holder = {};
    if (path.isEmpty() || resolveUnderLinkRule(nativeFileName(path), folder, place.name, target, exists, stream) != 0
        || ::fstat(folder.get(), &holder) != 0)
        return std::nullopt;
    place.folderDevice = holder.st_dev;
    place.folderInode = holder.st_ino;
    if (exists)
        place.file = std::pair{target.st_dev, target.st_ino};
    return place;
}

} // namespace

qsizetype firstRepeatedFile(const QStringList& paths, qsizetype& earlier)
{
    std::vector<std::optional<Place>> places;
    for (const QString& path : paths) {
        const std::optional<Place> place = placeOf(path);
        for (earlier = 0; place && earlier < qsizetype(places.size()); ++earlier) {
            if (places[std::size_t(earlier)] && place->isOf(*places[std::size_t(earlier)]))
                return qsizetype(places.size());
        }
        places.push_back(place);
    }
    earlier = -1;
    return -1;
}
