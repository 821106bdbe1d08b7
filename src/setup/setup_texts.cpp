#include "setup/setup_texts.h"

namespace kelvane {

namespace {

constexpr setup_texts english{
    u"Next",
    u"Back",
    u"Cancel",
    u"Finish",
    u"NOTE: Kelvane can be installed into main memory or onto a memory card, but for best "
    u"performance we recommend you install it into main memory.",
    u"Kelvane will be installed in:",
    u"Kelvane has been installed successfully.",
    u"File is corrupted, please download the program again.",
    u"Can not start the application manager. Register it once by running "
    u"\"appmgr --register\", then press Next again.",
    u"Kelvane is running. Close it, then install again; nothing was installed.",
    u"Can't create the cabinet \"",
    u"Can't create the file \"",
    u"\".",
};

constexpr setup_texts french{
    u"Suivant",
    u"Retour",
    u"Annuler",
    u"Terminer",
    u"NOTE: Kelvane peut être installé en RAM ou sur une carte mémoire, mais nous vous "
    u"recommandons la mémoire centrale pour de meilleures performances.",
    u"Kelvane sera installé dans :",
    u"Kelvane a été installé avec succès.",
    u"Le fichier est corrompu, veuillez le re-télécharger.",
    u"Impossible de lancer le gestionnaire d'applications. Enregistrez-le une fois en lançant "
    u"«\u00A0appmgr --register\u00A0», puis appuyez de nouveau sur Suivant.",
    u"Kelvane est ouvert. Fermez-le, puis relancez l'installation\u00A0; rien n'a été installé.",
    u"Impossible de créer le fichier cabinet «\u00A0",
    u"Impossible de créer le fichier «\u00A0",
    u"\u00A0».",
};

}  // namespace

const setup_texts& setup_texts_for(setup_language language) {
    return language == setup_language::french ? french : english;
}

std::u16string note_page_text(setup_language language, std::u16string_view install_folder) {
    const auto& t = setup_texts_for(language);
    std::u16string text(t.note);
    if (!install_folder.empty())
        text += u"\n\n" + std::u16string(t.install_place) + u"\n" + std::u16string(install_folder);
    return text;
}

std::u16string cabinet_not_created_text(setup_language language, std::u16string_view path) {
    const auto& t = setup_texts_for(language);
    return std::u16string(t.cabinet_not_created) + std::u16string(path) +
           std::u16string(t.path_end);
}

std::u16string description_not_created_text(setup_language language, std::u16string_view path) {
    const auto& t = setup_texts_for(language);
    return std::u16string(t.description_not_created) + std::u16string(path) +
           std::u16string(t.path_end);
}

}  // namespace kelvane
