#include "Quorvel/icon_writer.h"

#include <algorithm>
#include <limits>

#include "Quorvel/group_icon_directory.h"

namespace {

bool Discard(IResourceUpdater& updater)
{
    updater.End(true);
    return false;
}

bool HasEnglishImage(const std::vector<ResourceRecord>& records, uint16_t id)
{
    return std::any_of(records.begin(), records.end(), [id](const ResourceRecord& record) {
        return record.type == RtIcon && record.name.isInteger && record.name.id == id && record.language == EnglishUsLanguage;
    });
}

}

bool WriteIconResources(IResourceUpdater& updater, IExportFiles& files, const std::string& exePath,
    const std::string& folderPath, const std::vector<IconEntry>& icons)
{
    std::vector<ResourceRecord> records = updater.ListIconResources(exePath);
    if (!updater.Begin(exePath))
        return false;

    std::vector<uint32_t> imageLengths;
    for (const IconEntry& icon : icons) {
        std::string image = files.ReadWholeFile(folderPath + icon.src);
        if (image.empty() || image.size() > std::numeric_limits<uint32_t>::max())
            return Discard(updater);
        if (!updater.Update(RtIcon, ResourceName::Number(icon.id), NeutralLanguage, &image))
            return Discard(updater);
        if (HasEnglishImage(records, icon.id))
            updater.Update(RtIcon, ResourceName::Number(icon.id), EnglishUsLanguage, nullptr);
        imageLengths.push_back(static_cast<uint32_t>(image.size()));
    }

    for (const ResourceRecord& record : records) {
        if (record.type == RtGroupIcon)
            updater.Update(RtGroupIcon, record.name, record.language, nullptr);
    }

    std::string directory = GroupIconDirectory(icons, imageLengths);
    if (!updater.Update(RtGroupIcon, ResourceName::Text(u"MAINICON"), NeutralLanguage, &directory))
        return Discard(updater);
    return updater.End(false);
}
