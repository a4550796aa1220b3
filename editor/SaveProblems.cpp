#include "SaveProblems.h"

#include "Paths.h"

namespace kwizmar {

namespace {

std::string FolderOf(const std::string& path) {
    const std::string folder = Utf8FromPath(PathFromUtf8(path).parent_path());
    return folder.empty() ? "." : folder;
}

const char* const kUntouched =
    "Test w edytorze jest nienaruszony, a plik na dysku został taki, jak był.";

} // namespace

std::string SaveFailureText(const std::string& path, const std::error_code& cause) {
    std::string why, what;
    const std::string elsewhere =
        "Zapisz test w innym miejscu: Plik > Zapisz jako ... (np. w swoim folderze domowym).";
    const auto is = [&](std::errc condition) { return cause == condition; };
    if (is(std::errc::permission_denied) || is(std::errc::operation_not_permitted)) {
        why = "Brak uprawnień: nie wolno Ci zapisywać w folderze " + FolderOf(path) +
              " albo zmieniać tego pliku.";
        what = elsewhere + " Uprawnienia może zmienić właściciel folderu lub administrator.";
    } else if (is(std::errc::read_only_file_system)) {
        why = "Dysk, na którym leży folder " + FolderOf(path) + ", jest tylko do odczytu.";
        what = elsewhere;
    } else if (is(std::errc::no_space_on_device) || is(std::errc::file_too_large)) {
        why = "Na dysku zabrakło miejsca.";
        what = "Zwolnij miejsce na dysku i zapisz jeszcze raz albo zapisz test na innym dysku: "
               "Plik > Zapisz jako ...";
    } else if (is(std::errc::no_such_file_or_directory) || is(std::errc::not_a_directory)) {
        why = "Folder " + FolderOf(path) +
              " już nie istnieje (został usunięty lub przeniesiony, albo dysk odłączono).";
        what = elsewhere;
    } else {
        why = cause ? "System zgłosił błąd numer " + std::to_string(cause.value()) + "."
                    : "System nie podał przyczyny.";
        what = elsewhere;
    }
    return "Nie udało się zapisać pliku " + path + ".\n\n" + why + "\n\n" + what + "\n\n" +
           kUntouched;
}

std::string ReadOnlyFileText(const std::string& path) {
    return "Plik " + path +
           " jest tylko do odczytu, więc edytor go nie zastąpi.\n\nZapisz test pod inną nazwą: "
           "Plik > Zapisz jako ... Jeśli ten plik wolno zmieniać, zdejmij z niego ochronę przed "
           "zapisem i zapisz jeszcze raz.";
}

std::string ChangedOnDiskText(const std::string& path) {
    return "Plik " + path +
           " został zmieniony na dysku (w innym oknie edytora, przez kwizmar-ts2 albo przez "
           "kogoś innego), odkąd go tu otwarto lub zapisano.\n\nZastąpienie go usunie tamte "
           "zmiany. Możesz też zapisać swój test pod inną nazwą i porównać oba pliki.";
}

} // namespace kwizmar
