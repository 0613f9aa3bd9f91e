#include "core/folders.h"

#include "core/fileio.h"

#include <filesystem>
#include <system_error>

QString makeFolder(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path.toStdU16String()), error);
    if (!error)
        return {};
    // By condition rather than by number: the codes differ between the systems.
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return problemText(FileProblem::NoPermission);
    if (error == std::errc::no_space_on_device)
        return problemText(FileProblem::DiskFull);
    if (error == std::errc::read_only_file_system)
        return problemText(FileProblem::ReadOnlyMedium);
    if (error == std::errc::filename_too_long)
        return problemText(FileProblem::NameTooLong);
    if (error == std::errc::file_exists || error == std::errc::not_a_directory)
        return QStringLiteral("同じ名前のファイルがあるため、フォルダーを作成できません。");
    return problemText(FileProblem::Other, QString::fromLocal8Bit(error.message()));
}
