<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>TapTimesDialog</name>
    <message>
        <source>Tap Times to Music</source>
        <translation>Taper les durées sur la musique</translation>
    </message>
    <message>
        <source>Press Space where each slide should end. Esc leaves the times as they were.</source>
        <translation>Appuyez sur Espace là où chaque diapositive doit finir. Échap laisse les durées telles quelles.</translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation>&amp;Terminé</translation>
    </message>
    <message>
        <source>Slide %1 of %2</source>
        <translation>Diapositive %1 sur %2</translation>
    </message>
</context>
<context>
    <name>MusicDialog</name>
    <message>
        <source>Music</source>
        <translation>Musique</translation>
    </message>
    <message>
        <source>Music files</source>
        <translation>Fichiers de musique</translation>
    </message>
    <message>
        <source>&amp;Level:</source>
        <translation>&amp;Niveau :</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Ajouter...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Retirer</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>&amp;Monter</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>&amp;Descendre</translation>
    </message>
    <message>
        <source>cannot be played</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>Music %1, show %2</source>
        <translation>Musique %1, diaporama %2</translation>
    </message>
</context>
<context>
    <name>CaptionSourceField</name>
    <message>
        <source>Typed text</source>
        <translation>Texte saisi</translation>
    </message>
    <message>
        <source>Date taken</source>
        <translation>Date de prise de vue</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>Nom du fichier</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description de la photo</translation>
    </message>
    <message>
        <source>Caption &amp;from:</source>
        <translation>Légende d&amp;epuis :</translation>
    </message>
    <message>
        <source>&amp;Title slide</source>
        <translation>Dia&amp;positive de titre</translation>
    </message>
    <message>
        <source>Show the caption of a blank slide large in the middle of the picture</source>
        <translation>Afficher la légende d&apos;une diapositive vide en grand au milieu de l&apos;image</translation>
    </message>
</context>
<context>
    <name>CaptionSources</name>
    <message>
        <source>Refresh Captions</source>
        <translation>Actualiser les légendes</translation>
    </message>
</context>
<context>
    <name>ArchiveEngine</name>
    <message>
        <source>Read error</source>
        <translation>Erreur de lecture</translation>
    </message>
    <message>
        <source>Operation cancelled</source>
        <translation>Opération annulée</translation>
    </message>
    <message>
        <source>Could not compress data</source>
        <translation>Impossible de compresser les données</translation>
    </message>
    <message>
        <source>Write error</source>
        <translation>Erreur d&apos;écriture</translation>
    </message>
    <message>
        <source>File too large for an archive member: %1</source>
        <translation>Fichier trop grand pour un membre d&apos;archive : %1</translation>
    </message>
    <message>
        <source>Cannot read %1</source>
        <translation>Impossible de lire %1</translation>
    </message>
    <message>
        <source>File changed while it was read: %1</source>
        <translation>Fichier modifié pendant sa lecture : %1</translation>
    </message>
    <message>
        <source>Cannot open %1</source>
        <translation>Impossible d&apos;ouvrir %1</translation>
    </message>
    <message>
        <source>Name too long for an archive header: %1</source>
        <translation>Nom trop long pour un en-tête d&apos;archive : %1</translation>
    </message>
</context>
<context>
    <name>DialogSeams</name>
    <message>
        <source>Font</source>
        <translation>Police</translation>
    </message>
    <message>
        <source>Font Colour</source>
        <translation>Couleur de la police</translation>
    </message>
    <message>
        <source>Print Setup</source>
        <translation>Configuration de l&apos;impression</translation>
    </message>
</context>
<context>
    <name>DocumentLifecycle</name>
    <message>
        <source>Open Existing Verasco</source>
        <translation>Ouvrir un Verasco existant</translation>
    </message>
    <message>
        <source>Save Verasco</source>
        <translation>Enregistrer le Verasco</translation>
    </message>
    <message>
        <source>File already exists, overwrite older file?</source>
        <translation>Fichier existant. Remplacer l&apos;ancien fichier ?</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Verasco Help</source>
        <translation>Aide de Verasco</translation>
    </message>
    <message>
        <source> or </source>
        <translation> ou </translation>
    </message>
    <message>
        <source>&lt;h2&gt;Verasco Help&lt;/h2&gt;&lt;p&gt;The help file %1 was not found in %2.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Aide de Verasco&lt;/h2&gt;&lt;p&gt;Le fichier d&apos;aide %1 est introuvable dans %2.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>ImageBrowser</name>
    <message>
        <source>Files: %1</source>
        <translation>Fichiers : %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Invalid Directory or Directory Read Error!</source>
        <translation>Dossier non valide ou erreur de lecture du dossier !</translation>
    </message>
</context>
<context>
    <name>ImagePrint</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Blank picture!</source>
        <translation>Image vide !</translation>
    </message>
    <message>
        <source>Picture cannot be loaded!</source>
        <translation>L&apos;image ne peut pas être chargée !</translation>
    </message>
</context>
<context>
    <name>MainMenus</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>&amp;Sort Slides</source>
        <translation>Trier les &amp;diapositives</translation>
    </message>
    <message>
        <source>By &amp;Date Taken</source>
        <translation>Par &amp;date de prise de vue</translation>
    </message>
    <message>
        <source>By &amp;Name</source>
        <translation>Par &amp;nom</translation>
    </message>
    <message>
        <source>&amp;Reverse</source>
        <translation>&amp;Inverser</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Create &amp;New Verasco</source>
        <translation>Créer un &amp;nouveau Verasco</translation>
    </message>
    <message>
        <source>&amp;Open Existing Verasco...</source>
        <translation>&amp;Ouvrir un Verasco existant...</translation>
    </message>
    <message>
        <source>&amp;Save Verasco...</source>
        <translation>Enregistrer le Verasco so&amp;us...</translation>
    </message>
    <message>
        <source>Sa&amp;ve Stand-alone Verasco...</source>
        <translation>Enregistrer un Verasco &amp;autonome...</translation>
    </message>
    <message>
        <source>Print &amp;Image...</source>
        <translation>Imprimer l&apos;&amp;image...</translation>
    </message>
    <message>
        <source>Print Ver&amp;asco...</source>
        <translation>Imprimer le &amp;Verasco...</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>&amp;Configuration de l&apos;impression...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Save as Vi&amp;deo...</source>
        <translation>Enregistrer comme vi&amp;déo...</translation>
    </message>
    <message>
        <source>Save as &amp;Web Page...</source>
        <translation>Enregistrer comme page &amp;Web...</translation>
    </message>
    <message>
        <source>Sav&amp;e</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Édition</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Co&amp;uper</translation>
    </message>
    <message>
        <source>Delete selected item</source>
        <translation>Supprimer l&apos;élément sélectionné</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>Copy selected item to clipboard</source>
        <translation>Copier l&apos;élément sélectionné dans le presse-papiers</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>C&amp;oller</translation>
    </message>
    <message>
        <source>Paste contents of clipboard</source>
        <translation>Coller le contenu du presse-papiers</translation>
    </message>
    <message>
        <source>Cle&amp;ar</source>
        <translation>&amp;Effacer</translation>
    </message>
    <message>
        <source>Cl&amp;ear All</source>
        <translation>Effacer &amp;tout</translation>
    </message>
    <message>
        <source>Select A&amp;ll</source>
        <translation>Tout &amp;sélectionner</translation>
    </message>
    <message>
        <source>Image Pr&amp;operties...</source>
        <translation>&amp;Propriétés de l&apos;image...</translation>
    </message>
    <message>
        <source>Verasco P&amp;references...</source>
        <translation>Préférences de &amp;Verasco...</translation>
    </message>
    <message>
        <source>&amp;Music...</source>
        <translation>&amp;Musique...</translation>
    </message>
    <message>
        <source>Choose music to play under the whole show</source>
        <translation>Choisir la musique qui accompagne tout le diaporama</translation>
    </message>
    <message>
        <source>&amp;Fit Slides to Music</source>
        <translation>A&amp;juster les diapositives à la musique</translation>
    </message>
    <message>
        <source>Give the slides times so that the show lasts as long as its music</source>
        <translation>Donner aux diapositives des durées pour que le diaporama dure autant que sa musique</translation>
    </message>
    <message>
        <source>&amp;Tap Times to Music...</source>
        <translation>Taper les durées sur &amp;la musique...</translation>
    </message>
    <message>
        <source>Play the music and end each slide with Space where it should</source>
        <translation>Jouer la musique et finir chaque diapositive par Espace au bon moment</translation>
    </message>
    <message>
        <source>Refresh Captions</source>
        <translation>Actualiser les légendes</translation>
    </message>
    <message>
        <source>Take the captions that come from the photos from them again</source>
        <translation>Relire dans les photos les légendes qui en viennent</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Image</source>
        <translation>&amp;Image</translation>
    </message>
    <message>
        <source>Ver&amp;asco</source>
        <translation>&amp;Verasco</translation>
    </message>
    <message>
        <source>&amp;Resume Verasco</source>
        <translation>&amp;Reprendre le Verasco</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Rubriques d&apos;aide</translation>
    </message>
    <message>
        <source>&amp;About Verasco...</source>
        <translation>À &amp;propos de Verasco...</translation>
    </message>
    <message>
        <source>&amp;Larger Thumbnails</source>
        <translation>&amp;Agrandir les miniatures</translation>
    </message>
    <message>
        <source>&amp;Smaller Thumbnails</source>
        <translation>Réd&amp;uire les miniatures</translation>
    </message>
    <message>
        <source>Insert &amp;Title...</source>
        <translation>&amp;Insérer une diapositive de titre...</translation>
    </message>
    <message>
        <source>Insert a title slide before the active slide</source>
        <translation>Insérer une diapositive de titre avant la diapositive active</translation>
    </message>
</context>
<context>
    <name>MissingPicture</name>
    <message>
        <source>%1
missing</source>
        <translation>%1
manquante</translation>
    </message>
</context>
<context>
    <name>LookField</name>
    <message>
        <source>As the show</source>
        <translation>Comme le diaporama</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Noir</translation>
    </message>
    <message>
        <source>Blurred picture</source>
        <translation>Image floutée</translation>
    </message>
    <message>
        <source>One colour</source>
        <translation>Une couleur</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>En bas</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>En haut</translation>
    </message>
    <message>
        <source>Colour...</source>
        <translation>Couleur...</translation>
    </message>
    <message>
        <source>Fill colour</source>
        <translation>Couleur de fond</translation>
    </message>
    <message>
        <source>Fill aroun&amp;d the picture</source>
        <translation>Fond autour de l&apos;ima&amp;ge</translation>
    </message>
    <message>
        <source>Ca&amp;ption place</source>
        <translation>P&amp;lace de la légende</translation>
    </message>
</context>
<context>
    <name>MotionField</name>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Pan</source>
        <translation>Panoramique</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personnalisé</translation>
    </message>
    <message>
        <source>M&amp;otion:</source>
        <translation>&amp;Mouvement :</translation>
    </message>
</context>
<context>
    <name>MusicFit</name>
    <message>
        <source>The show has no music that can be played.</source>
        <translation>Le diaporama n&apos;a aucune musique lisible.</translation>
    </message>
    <message>
        <source>Fit Slides to Music</source>
        <translation>Ajuster les diapositives à la musique</translation>
    </message>
</context>
<context>
    <name>PictureReaders</name>
    <message>
        <source>not a PCX file</source>
        <translation>pas un fichier PCX</translation>
    </message>
    <message>
        <source>unsupported PCX layout</source>
        <translation>disposition PCX non prise en charge</translation>
    </message>
    <message>
        <source>PCX picture has no pixels</source>
        <translation>image PCX sans pixels</translation>
    </message>
    <message>
        <source>PCX line length too short for the width</source>
        <translation>longueur de ligne PCX trop courte pour la largeur</translation>
    </message>
    <message>
        <source>PCX picture too large</source>
        <translation>image PCX trop grande</translation>
    </message>
    <message>
        <source>PCX data truncated</source>
        <translation>données PCX tronquées</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>mémoire insuffisante</translation>
    </message>
    <message>
        <source>TGA picture too large</source>
        <translation>image TGA trop grande</translation>
    </message>
    <message>
        <source>unsupported TGA type</source>
        <translation>type TGA non pris en charge</translation>
    </message>
    <message>
        <source>bad TGA size</source>
        <translation>taille TGA incorrecte</translation>
    </message>
    <message>
        <source>unsupported TGA pixel depth</source>
        <translation>profondeur de pixel TGA non prise en charge</translation>
    </message>
    <message>
        <source>TGA colour-mapped picture without a colour map</source>
        <translation>image TGA à palette sans palette</translation>
    </message>
    <message>
        <source>unsupported TGA colour map</source>
        <translation>palette TGA non prise en charge</translation>
    </message>
    <message>
        <source>TGA colour map truncated</source>
        <translation>palette TGA tronquée</translation>
    </message>
    <message>
        <source>TGA file too short</source>
        <translation>fichier TGA trop court</translation>
    </message>
    <message>
        <source>TGA truncated</source>
        <translation>TGA tronqué</translation>
    </message>
    <message>
        <source>TGA data truncated</source>
        <translation>données TGA tronquées</translation>
    </message>
    <message>
        <source>HEIF picture too large</source>
        <translation>image HEIF trop grande</translation>
    </message>
    <message>
        <source>HEIF picture data larger than its declared size</source>
        <translation>données de l&apos;image HEIF plus grandes que la taille déclarée</translation>
    </message>
    <message>
        <source>picture too large</source>
        <translation>image trop grande</translation>
    </message>
    <message>
        <source>bitmap data truncated</source>
        <translation>données bitmap tronquées</translation>
    </message>
    <message>
        <source>unknown picture format</source>
        <translation>format d&apos;image inconnu</translation>
    </message>
    <message>
        <source>empty file</source>
        <translation>fichier vide</translation>
    </message>
    <message>
        <source>cannot decode picture</source>
        <translation>impossible de décoder l&apos;image</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>impossible d&apos;ouvrir %1 : %2</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>JPEG data truncated</source>
        <translation>données JPEG tronquées</translation>
    </message>
    <message>
        <source>JPEG picture has too many scans</source>
        <translation>l&apos;image JPEG a trop de passes</translation>
    </message>
    <message>
        <source>JPEG picture too large</source>
        <translation>image JPEG trop grande</translation>
    </message>
    <message>
        <source>corrupt JPEG data</source>
        <translation>données JPEG corrompues</translation>
    </message>
    <message>
        <source>PNG data truncated</source>
        <translation>données PNG tronquées</translation>
    </message>
    <message>
        <source>corrupt PNG data</source>
        <translation>données PNG corrompues</translation>
    </message>
    <message>
        <source>TIFF data truncated</source>
        <translation>données TIFF tronquées</translation>
    </message>
    <message>
        <source>corrupt TIFF data</source>
        <translation>données TIFF corrompues</translation>
    </message>
    <message>
        <source>WebP data truncated</source>
        <translation>données WebP tronquées</translation>
    </message>
    <message>
        <source>corrupt WebP data</source>
        <translation>données WebP corrompues</translation>
    </message>
</context>
<context>
    <name>PlainFiles</name>
    <message>
        <source>not a regular file (a folder, a device, a pipe or a socket)</source>
        <translation>pas un fichier ordinaire (un dossier, un périphérique, un tube ou une socket)</translation>
    </message>
    <message>
        <source>file too large (over %1 MB)</source>
        <translation>fichier trop grand (plus de %1 Mo)</translation>
    </message>
    <message>
        <source>the file holds more than its size says (a system file, or one still being written)</source>
        <translation>le fichier contient plus que sa taille annoncée (un fichier système, ou un fichier encore en cours d&apos;écriture)</translation>
    </message>
</context>
<context>
    <name>PrintContext</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Cannot print to:</source>
        <translation>Impossible d&apos;imprimer sur :</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Paper too small!</source>
        <translation>Papier trop petit !</translation>
    </message>
</context>
<context>
    <name>PrintProgress</name>
    <message>
        <source>Printing page %1 of %2</source>
        <translation>Impression de la page %1 sur %2</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>QPrintPreviewDialog</name>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
</context>
<context>
    <name>QpxEncoder</name>
    <message>
        <source>no picture to save</source>
        <translation>aucune image à enregistrer</translation>
    </message>
    <message>
        <source>JPEG encoding failed</source>
        <translation>échec du codage JPEG</translation>
    </message>
</context>
<context>
    <name>QtDialogNames</name>
    <message>
        <source>Window size</source>
        <translation>Taille de la fenêtre</translation>
    </message>
    <message>
        <source>Places and files</source>
        <translation>Emplacements et fichiers</translation>
    </message>
    <message>
        <source>Width of the places</source>
        <translation>Largeur des emplacements</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers</translation>
    </message>
</context>
<context>
    <name>RecentShowsMenu</name>
    <message>
        <source>Recent Verascos</source>
        <translation>Verascos récents</translation>
    </message>
</context>
<context>
    <name>ShareCommands</name>
    <message>
        <source>MP4 video (*.mp4)</source>
        <translation>Vidéo MP4 (*.mp4)</translation>
    </message>
    <message>
        <source>WebM video (*.webm)</source>
        <translation>Vidéo WebM (*.webm)</translation>
    </message>
    <message>
        <source>Video created.</source>
        <translation>Vidéo créée.</translation>
    </message>
    <message>
        <source>The video was not saved.</source>
        <translation>La vidéo n&apos;a pas été enregistrée.</translation>
    </message>
    <message>
        <source>The video could not be written.</source>
        <translation>La vidéo n&apos;a pas pu être écrite.</translation>
    </message>
    <message>
        <source>Web page created.</source>
        <translation>Page Web créée.</translation>
    </message>
    <message>
        <source>The web page was not saved.</source>
        <translation>La page Web n&apos;a pas été enregistrée.</translation>
    </message>
    <message>
        <source>The web page could not be written.</source>
        <translation>La page Web n&apos;a pas pu être écrite.</translation>
    </message>
    <message>
        <source>Save as Web Page</source>
        <translation>Enregistrer comme page Web</translation>
    </message>
    <message>
        <source>%1: a folder that holds no web page of Verasco</source>
        <translation>%1 : un dossier qui ne contient pas de page Web de Verasco</translation>
    </message>
    <message>
        <source>File already exists, overwrite older file?</source>
        <translation>Fichier existant. Remplacer l&apos;ancien fichier ?</translation>
    </message>
    <message>
        <source>Only the page&apos;s own files are replaced: other files in the folder stay.</source>
        <translation>Seuls les fichiers de la page sont remplacés ; les autres fichiers du dossier restent.</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Cancelled: nothing was written.</source>
        <translation>Annulé : rien n&apos;a été écrit.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Save as Video</source>
        <translation>Enregistrer comme vidéo</translation>
    </message>
    <message>
        <source>%1: not a file</source>
        <translation>%1 : ce n&apos;est pas un fichier</translation>
    </message>
    <message>
        <source>Saving the video...</source>
        <translation>Enregistrement de la vidéo...</translation>
    </message>
    <message>
        <source>Saving the web page...</source>
        <translation>Enregistrement de la page Web...</translation>
    </message>
    <message>
        <source>Music left out: %1</source>
        <translation>Musique omise : %1</translation>
    </message>
</context>
<context>
    <name>ShareProgress</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
</context>
<context>
    <name>ShareReasons</name>
    <message>
        <source>the sound encoder %1 is not available</source>
        <translation>l&apos;encodeur audio %1 n&apos;est pas disponible</translation>
    </message>
    <message>
        <source>not a sound file the program plays</source>
        <translation>pas un fichier audio que le programme sait lire</translation>
    </message>
    <message>
        <source>no sound in the file</source>
        <translation>aucun son dans le fichier</translation>
    </message>
    <message>
        <source>the video encoder %1 is not available</source>
        <translation>l&apos;encodeur vidéo %1 n&apos;est pas disponible</translation>
    </message>
    <message>
        <source>a frame of the wrong size</source>
        <translation>une image de la mauvaise taille</translation>
    </message>
    <message>
        <source>The codec module could not be loaded: %1</source>
        <translation>Le module de codecs n&apos;a pas pu être chargé : %1</translation>
    </message>
    <message>
        <source>%1: a file of the folder is where the new one puts its own</source>
        <translation>%1 : un fichier du dossier occupe la place d&apos;un fichier du nouveau</translation>
    </message>
    <message>
        <source>no free working name</source>
        <translation>aucun nom de travail libre</translation>
    </message>
    <message>
        <source>%1: cannot make its folders</source>
        <translation>%1 : impossible de créer ses dossiers</translation>
    </message>
</context>
<context>
    <name>ShellDrop</name>
    <message>
        <source>Drop Files</source>
        <translation>Déposer des fichiers</translation>
    </message>
</context>
<context>
    <name>ShowDocument</name>
    <message>
        <source>Add Slides</source>
        <translation>Ajouter des diapositives</translation>
    </message>
    <message>
        <source>Delete Slides</source>
        <translation>Supprimer les diapositives</translation>
    </message>
    <message>
        <source>Move Slide</source>
        <translation>Déplacer la diapositive</translation>
    </message>
    <message>
        <source>Move Slides</source>
        <translation>Déplacer les diapositives</translation>
    </message>
    <message>
        <source>Change Slides</source>
        <translation>Modifier les diapositives</translation>
    </message>
    <message>
        <source>Change Show</source>
        <translation>Modifier le diaporama</translation>
    </message>
</context>
<context>
    <name>ShowEditing</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Maximum number of images is %1!</source>
        <translation>Le nombre maximal d&apos;images est %1 !</translation>
    </message>
    <message>
        <source>Add Images</source>
        <translation>Ajouter des images</translation>
    </message>
    <message>
        <source>Drag Images</source>
        <translation>Glisser des images</translation>
    </message>
    <message>
        <source>Delete Slides</source>
        <translation>Supprimer les diapositives</translation>
    </message>
    <message>
        <source>Delete Slide</source>
        <translation>Supprimer la diapositive</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Couper</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Coller</translation>
    </message>
</context>
<context>
    <name>ShowExtension</name>
    <message>
        <source>its slide list is not a list</source>
        <translation>sa liste de diapositives n&apos;est pas une liste</translation>
    </message>
    <message>
        <source>it holds %1 slides, the show %2</source>
        <translation>elles décrivent %1 diapositives, le diaporama %2</translation>
    </message>
    <message>
        <source>a slide&apos;s data is not an object</source>
        <translation>les données d&apos;une diapositive ne sont pas un objet</translation>
    </message>
    <message>
        <source>it is cut short</source>
        <translation>elles sont tronquées</translation>
    </message>
    <message>
        <source>it is too large</source>
        <translation>elles sont trop volumineuses</translation>
    </message>
    <message>
        <source>its lists are nested too deeply</source>
        <translation>leurs listes sont imbriquées trop profondément</translation>
    </message>
    <message>
        <source>it holds too many values</source>
        <translation>elles contiennent trop de valeurs</translation>
    </message>
    <message>
        <source>it lists more than %1 music files</source>
        <translation>elles citent plus de %1 fichiers de musique</translation>
    </message>
    <message>
        <source>it holds no object</source>
        <translation>elles ne contiennent aucun objet</translation>
    </message>
    <message>
        <source>Music, motion and caption data left out: %1</source>
        <translation>Données de musique, de mouvement et de légende ignorées : %1</translation>
    </message>
</context>
<context>
    <name>ShowFile</name>
    <message>
        <source>Read %1 of %2...</source>
        <translation>%1 sur %2 lues...</translation>
    </message>
</context>
<context>
    <name>ShowFileCommands</name>
    <message>
        <source>The folder %1 cannot be written; choose another place</source>
        <translation>Impossible d&apos;écrire dans le dossier %1 ; choisissez un autre emplacement</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Invalid Verasco File!</source>
        <translation>Fichier Verasco non valide !</translation>
    </message>
    <message>
        <source>Path too long to keep in the show:</source>
        <translation>Chemin trop long pour être conservé dans le diaporama :</translation>
    </message>
    <message>
        <source>The show could not be saved.</source>
        <translation>Le diaporama n&apos;a pas pu être enregistré.</translation>
    </message>
</context>
<context>
    <name>ShowLengthView</name>
    <message>
        <source>Show length</source>
        <translation>Durée du diaporama</translation>
    </message>
</context>
<context>
    <name>ShowGridView</name>
    <message>
        <source> (%1 not found)</source>
        <translation> (%1 introuvables)</translation>
    </message>
    <message>
        <source> (%1 could not be read)</source>
        <translation> (%1 illisibles)</translation>
    </message>
    <message>
        <source>Images: %1</source>
        <translation>Images : %1</translation>
    </message>
    <message>
        <source>blank slide</source>
        <translation>diapositive vide</translation>
    </message>
    <message>
        <source>Slide %1: %2, %3 seconds</source>
        <translation>Diapositive %1 : %2, %3 secondes</translation>
    </message>
    <message>
        <source>, caption: %1</source>
        <translation>, légende : %1</translation>
    </message>
    <message>
        <source>, picture not found</source>
        <translation>, image introuvable</translation>
    </message>
    <message>
        <source>, picture not readable</source>
        <translation>, image illisible</translation>
    </message>
    <message>
        <source>Path too long: %1</source>
        <translation>Chemin trop long : %1</translation>
    </message>
    <message>
        <source>Drag pictures here, or use &gt; and &gt;&gt;</source>
        <translation>Glissez des images ici, ou utilisez &gt; et &gt;&gt;</translation>
    </message>
    <message>
        <source>title slide</source>
        <translation>diapositive de titre</translation>
    </message>
</context>
<context>
    <name>ShowPrint</name>
    <message>
        <source> - Filename: </source>
        <translation> - Nom du fichier : </translation>
    </message>
    <message>
        <source>missing</source>
        <translation>manquante</translation>
    </message>
</context>
<context>
    <name>SlideProperties</name>
    <message>
        <source>Image Properties</source>
        <translation>Propriétés de l&apos;image</translation>
    </message>
    <message>
        <source>Insert Title</source>
        <translation>Insérer une diapositive de titre</translation>
    </message>
</context>
<context>
    <name>SlideSorting</name>
    <message>
        <source>Sort Slides</source>
        <translation>Trier les diapositives</translation>
    </message>
</context>
<context>
    <name>StandaloneExport</name>
    <message>
        <source>The stand-alone show could not be written.</source>
        <translation>Le Verasco autonome n&apos;a pas pu être écrit.</translation>
    </message>
    <message>
        <source>A picture could not be read.</source>
        <translation>Une image n&apos;a pas pu être lue.</translation>
    </message>
    <message>
        <source>A picture could not be converted.</source>
        <translation>Une image n&apos;a pas pu être convertie.</translation>
    </message>
    <message>
        <source>An audio file could not be packed.</source>
        <translation>Un fichier audio n&apos;a pas pu être empaqueté.</translation>
    </message>
    <message>
        <source>%1: its name is too long.</source>
        <translation>%1 : son nom est trop long.</translation>
    </message>
    <message>
        <source>The pictures of this show are too large for a stand-alone show.</source>
        <translation>Les images de ce diaporama sont trop volumineuses pour un Verasco autonome.</translation>
    </message>
    <message>
        <source>Their data would pass 2 GB.</source>
        <translation>Leurs données dépasseraient 2 Go.</translation>
    </message>
    <message>
        <source>Morvant Stand-alone Verasco (*.exe)</source>
        <translation>Verasco autonome Morvant (*.exe)</translation>
    </message>
    <message>
        <source>A stand-alone show cannot be named %1.</source>
        <translation>Un Verasco autonome ne peut pas s&apos;appeler %1.</translation>
    </message>
    <message>
        <source>Save Stand-alone Verasco</source>
        <translation>Enregistrer un Verasco autonome</translation>
    </message>
    <message>
        <source>Creating Stand-alone Verasco...done</source>
        <translation>Création du Verasco autonome...terminée</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Stand-alone Verasco created.</source>
        <translation>Verasco autonome créé.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Windows packages are not available in this build.</source>
        <translation>Les paquets Windows ne sont pas disponibles dans cette version.</translation>
    </message>
    <message>
        <source>A picture could not be read. Put a blank slide in its place?</source>
        <translation>Image illisible. Mettre une diapositive vide ?</translation>
    </message>
    <message>
        <source>Processing image %1 of %2...</source>
        <translation>Traitement de l&apos;image %1 sur %2...</translation>
    </message>
    <message>
        <source>Creating Stand-alone Verasco...</source>
        <translation>Création du Verasco autonome...</translation>
    </message>
    <message>
        <source>Converting the music...</source>
        <translation>Conversion de la musique...</translation>
    </message>
    <message>
        <source>%1: it could not be packed</source>
        <translation>%1 : il n&apos;a pas pu être empaqueté</translation>
    </message>
    <message>
        <source>a file of the package could not be packed</source>
        <translation>un fichier du paquet n&apos;a pas pu être empaqueté</translation>
    </message>
    <message>
        <source>write error</source>
        <translation>erreur d&apos;écriture</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Free software under the MIT licence.</source>
        <translation>Logiciel libre sous licence MIT.</translation>
    </message>
    <message>
        <source>Compose, present, print and package picture slide shows.</source>
        <translation>Composer, présenter, imprimer et empaqueter des diaporamas d&apos;images.</translation>
    </message>
</context>
<context>
    <name>TDragDropFiles</name>
    <message>
        <source>&amp;Abort</source>
        <translation>A&amp;bandonner</translation>
    </message>
    <message>
        <source>&amp;Copy Here</source>
        <translation>&amp;Copier ici</translation>
    </message>
    <message>
        <source>&amp;Move Here</source>
        <translation>&amp;Déplacer ici</translation>
    </message>
    <message>
        <source>&amp;Shortcut(s) Create Here</source>
        <translation>Créer un ou des &amp;raccourcis ici</translation>
    </message>
</context>
<context>
    <name>TFormOpenDialog</name>
    <message>
        <source>List files of &amp;type:</source>
        <translation>&amp;Type de fichiers :</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Dossiers</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>TMainFormverasco</name>
    <message>
        <source>&amp;Verasco:</source>
        <translation>&amp;Verasco :</translation>
    </message>
    <message>
        <source>Open Slide Show file</source>
        <translation>Ouvrir un fichier de diaporama</translation>
    </message>
    <message>
        <source>&amp;Images:</source>
        <translation>&amp;Images :</translation>
    </message>
    <message>
        <source>Select Photos folder</source>
        <translation>Choisir le dossier des photos</translation>
    </message>
    <message>
        <source>&amp;Play Verasco</source>
        <translation>&amp;Lire le Verasco</translation>
    </message>
    <message>
        <source>&amp;Select Images</source>
        <translation>&amp;Choisir les images</translation>
    </message>
    <message>
        <source>Verasc&amp;o</source>
        <translation>Verasc&amp;o</translation>
    </message>
    <message>
        <source>Add selected photo</source>
        <translation>Ajouter la photo sélectionnée</translation>
    </message>
    <message>
        <source>Add all photos</source>
        <translation>Ajouter toutes les photos</translation>
    </message>
    <message>
        <source>Files: 0</source>
        <translation>Fichiers : 0</translation>
    </message>
    <message>
        <source>Images: 0</source>
        <translation>Images : 0</translation>
    </message>
    <message>
        <source>Add Image</source>
        <translation>Ajouter une image</translation>
    </message>
    <message>
        <source>Drop Files</source>
        <translation>Déposer des fichiers</translation>
    </message>
    <message>
        <source>&amp;Find Image...</source>
        <translation>&amp;Rechercher une image...</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Annuler : %1</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>Re&amp;do %1</source>
        <translation>&amp;Rétablir : %1</translation>
    </message>
    <message>
        <source>File already exists, overwrite older file?</source>
        <translation>Fichier existant. Remplacer l&apos;ancien fichier ?</translation>
    </message>
    <message>
        <source>Add selected pictures</source>
        <translation>Ajouter les images sélectionnées</translation>
    </message>
    <message>
        <source>Add all pictures</source>
        <translation>Ajouter toutes les images</translation>
    </message>
    <message>
        <source>Choose the pictures folder</source>
        <translation>Choisir le dossier des images</translation>
    </message>
    <message>
        <source>Choose the show file</source>
        <translation>Choisir le fichier du diaporama</translation>
    </message>
    <message>
        <source>Pictures of the folder</source>
        <translation>Images du dossier</translation>
    </message>
    <message>
        <source>Slides of the show</source>
        <translation>Diapositives du diaporama</translation>
    </message>
    <message>
        <source>Show file</source>
        <translation>Fichier du diaporama</translation>
    </message>
    <message>
        <source>Pictures folder</source>
        <translation>Dossier des images</translation>
    </message>
    <message>
        <source>Pictures in the folder</source>
        <translation>Images dans le dossier</translation>
    </message>
    <message>
        <source>Slides in the show</source>
        <translation>Diapositives dans le diaporama</translation>
    </message>
    <message>
        <source>Sound files (*.wav *.mp3 *.ogg *.opus *.flac *.m4a);;All files (*)</source>
        <translation>Fichiers audio (*.wav *.mp3 *.ogg *.opus *.flac *.m4a);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Music</source>
        <translation>Musique</translation>
    </message>
    <message>
        <source>Fit Slides to Music</source>
        <translation>Ajuster les diapositives à la musique</translation>
    </message>
</context>
<context>
    <name>TOvcTable</name>
    <message>
        <source>Empty</source>
        <translation>Vide</translation>
    </message>
</context>
<context>
    <name>TPhoto</name>
    <message>
        <source>no picture given</source>
        <translation>aucune image indiquée</translation>
    </message>
    <message>
        <source>no picture loaded</source>
        <translation>aucune image chargée</translation>
    </message>
    <message>
        <source>cannot resize to %1 x %2</source>
        <translation>impossible de redimensionner en %1 x %2</translation>
    </message>
    <message>
        <source>unsupported bit depth %1</source>
        <translation>profondeur de couleur %1 non prise en charge</translation>
    </message>
    <message>
        <source>cannot open palette %1</source>
        <translation>impossible d&apos;ouvrir la palette %1</translation>
    </message>
    <message>
        <source>not a palette file: %1</source>
        <translation>pas un fichier de palette : %1</translation>
    </message>
    <message>
        <source>cannot reduce colours</source>
        <translation>impossible de réduire les couleurs</translation>
    </message>
    <message>
        <source>picture too large for a bitmap</source>
        <translation>image trop grande pour un bitmap</translation>
    </message>
    <message>
        <source>no picture to save</source>
        <translation>aucune image à enregistrer</translation>
    </message>
    <message>
        <source>no file name to save to</source>
        <translation>aucun nom de fichier où enregistrer</translation>
    </message>
    <message>
        <source>cannot read %1 again at full size</source>
        <translation>impossible de relire %1 en taille réelle</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>impossible d&apos;écrire %1 : %2</translation>
    </message>
    <message>
        <source>no active printer painter</source>
        <translation>aucun dessin d&apos;impression actif</translation>
    </message>
    <message>
        <source>no picture to print</source>
        <translation>aucune image à imprimer</translation>
    </message>
</context>
<context>
    <name>Tconfirmfrm</name>
    <message>
        <source>Confirm</source>
        <translation>Confirmer</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Oui</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Non</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Do you want to save the changes you made?</source>
        <translation>Voulez-vous enregistrer vos modifications ?</translation>
    </message>
    <message>
        <source>Do you want to save the changes you made to</source>
        <translation>Enregistrer les modifications apportées à</translation>
    </message>
</context>
<context>
    <name>ThumbnailBuilder</name>
    <message>
        <source>missing</source>
        <translation>manquante</translation>
    </message>
    <message>
        <source>not readable</source>
        <translation>illisible</translation>
    </message>
</context>
<context>
    <name>TprefFrm</name>
    <message>
        <source>Reduce mo&amp;tion</source>
        <translation>Réduire le mou&amp;vement</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>Verasco Preferences</source>
        <translation>Préférences de Verasco</translation>
    </message>
    <message>
        <source>Default Image Ti&amp;me</source>
        <translation>&amp;Durée par défaut des images</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>secondes</translation>
    </message>
    <message>
        <source>&amp;Use Time of Attached Audio when Available</source>
        <translation>&amp;Utiliser la durée du son joint s&apos;il existe</translation>
    </message>
    <message>
        <source>&amp;Show Text with each image</source>
        <translation>&amp;Afficher le texte avec chaque image</translation>
    </message>
    <message>
        <source>&amp;Loop Verasco</source>
        <translation>&amp;Répéter le Verasco</translation>
    </message>
    <message>
        <source>&amp;Hide Editor during Verasco</source>
        <translation>&amp;Masquer l&apos;éditeur pendant le Verasco</translation>
    </message>
    <message>
        <source>Display &amp;Controls during Verasco</source>
        <translation>Afficher les &amp;commandes pendant le Verasco</translation>
    </message>
    <message>
        <source>&amp;Reset All Images to Default Settings</source>
        <translation>Rétablir les réglages par dé&amp;faut de toutes les images</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Plein écran</translation>
    </message>
    <message>
        <source>Scr&amp;een</source>
        <translation>Écra&amp;n</translation>
    </message>
    <message>
        <source>Cr&amp;oss-fade</source>
        <translation>F&amp;ondu enchaîné</translation>
    </message>
    <message>
        <source>Cross-fade time in seconds</source>
        <translation>Durée du fondu en secondes</translation>
    </message>
    <message>
        <source>Captions on a &amp;band over the picture</source>
        <translation>Légendes sur un &amp;bandeau sur l&apos;image</translation>
    </message>
    <message>
        <source>&amp;Appearance</source>
        <translation>Apparenc&amp;e</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Système</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Clair</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Sombre</translation>
    </message>
    <message>
        <source>Give every slide &amp;gentle motion</source>
        <translation>Donner à chaque diapositive un mouvement dou&amp;x</translation>
    </message>
    <message>
        <source>Gentle Motion</source>
        <translation>Mouvement doux</translation>
    </message>
    <message>
        <source>Captions</source>
        <translation>Légendes</translation>
    </message>
    <message>
        <source>Give all %1 slides the default time, audio hold and caption setting?</source>
        <translation>Donner aux %1 diapositives la durée, l&apos;attente du son et l&apos;affichage du texte par défaut ?</translation>
    </message>
    <message>
        <source>Default Settings</source>
        <translation>Réglages par défaut</translation>
    </message>
    <message>
        <source>Cross-fade as set</source>
        <translation>Fondu enchaîné tel que réglé</translation>
    </message>
</context>
<context>
    <name>Tpreviewfrm</name>
    <message>
        <source>This image is password protected.</source>
        <translation>Cette image est protégée par un mot de passe.</translation>
    </message>
    <message>
        <source>Preview Image</source>
        <translation>Aperçu de l&apos;image</translation>
    </message>
    <message>
        <source>This image cannot be opened.</source>
        <translation>Cette image ne peut pas être ouverte.</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>Le fichier n&apos;existe pas.</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>Le fichier ne peut pas être lu.</translation>
    </message>
    <message>
        <source>The file is damaged or no picture.</source>
        <translation>Le fichier est endommagé ou n&apos;est pas une image.</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>The picture is larger than the largest this program shows.</source>
        <translation>L'image dépasse la plus grande taille que ce programme affiche.</translation>
    </message>
</context>
<context>
    <name>Tprint1Dlg</name>
    <message>
        <source>Print Image</source>
        <translation>Imprimer l&apos;image</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Imprimer</translation>
    </message>
    <message>
        <source>Filename:</source>
        <translation>Fichier :</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>Tprintdlg</name>
    <message>
        <source>Print Verasco</source>
        <translation>Imprimer le Verasco</translation>
    </message>
    <message>
        <source>Sm&amp;all Size</source>
        <translation>&amp;Petite taille</translation>
    </message>
    <message>
        <source>M&amp;edium Size</source>
        <translation>Taille &amp;moyenne</translation>
    </message>
    <message>
        <source>La&amp;rge Size</source>
        <translation>&amp;Grande taille</translation>
    </message>
    <message>
        <source>&amp;Journal Format</source>
        <translation>Format &amp;journal</translation>
    </message>
    <message>
        <source>Co&amp;mments</source>
        <translation>&amp;Commentaires</translation>
    </message>
    <message>
        <source>Frame &amp;Numbers</source>
        <translation>&amp;Numéros d&apos;image</translation>
    </message>
    <message>
        <source>&amp;Date &amp;&amp; Filename in Header</source>
        <translation>&amp;Date et nom du fichier en en-tête</translation>
    </message>
    <message>
        <source>C&amp;ustom Footer:</source>
        <translation>Pied de page personna&amp;lisé :</translation>
    </message>
    <message>
        <source>Custom footer</source>
        <translation>Pied de page personnalisé</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Imprimer</translation>
    </message>
    <message>
        <source>Pre&amp;view...</source>
        <translation>&amp;Aperçu...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>TransitionField</name>
    <message>
        <source>Cut</source>
        <translation>Coupure</translation>
    </message>
    <message>
        <source>Fade</source>
        <translation>Fondu</translation>
    </message>
    <message>
        <source>Wipe left</source>
        <translation>Volet vers la gauche</translation>
    </message>
    <message>
        <source>Wipe right</source>
        <translation>Volet vers la droite</translation>
    </message>
    <message>
        <source>Wipe up</source>
        <translation>Volet vers le haut</translation>
    </message>
    <message>
        <source>Wipe down</source>
        <translation>Volet vers le bas</translation>
    </message>
    <message>
        <source>Push left</source>
        <translation>Poussée vers la gauche</translation>
    </message>
    <message>
        <source>Push right</source>
        <translation>Poussée vers la droite</translation>
    </message>
    <message>
        <source>Push up</source>
        <translation>Poussée vers le haut</translation>
    </message>
    <message>
        <source>Push down</source>
        <translation>Poussée vers le bas</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Agrandissement</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Au hasard</translation>
    </message>
    <message>
        <source>Tra&amp;nsition:</source>
        <translation>Tran&amp;sition :</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Transition time in seconds</source>
        <translation>Durée de la transition en secondes</translation>
    </message>
</context>
<context>
    <name>Tsaveexedlg</name>
    <message>
        <source>Stand-alone Verasco Settings</source>
        <translation>Réglages du Verasco autonome</translation>
    </message>
    <message>
        <source>Filename:</source>
        <translation>Fichier :</translation>
    </message>
    <message>
        <source>Total Images:</source>
        <translation>Total images :</translation>
    </message>
    <message>
        <source>Image Files:</source>
        <translation>Fich. images :</translation>
    </message>
    <message>
        <source>Audio Files:</source>
        <translation>Fich. audio :</translation>
    </message>
    <message>
        <source>Windows BMP Compression Quality Settings:</source>
        <translation>Qualité de compression BMP Windows :</translation>
    </message>
    <message>
        <source>Lower Image Quality</source>
        <translation>Qualité d&apos;image inférieure</translation>
    </message>
    <message>
        <source>Smaller File Size</source>
        <translation>Fichier plus petit</translation>
    </message>
    <message>
        <source>Higher Image Quality</source>
        <translation>Qualité d&apos;image supérieure</translation>
    </message>
    <message>
        <source>Larger File Size</source>
        <translation>Fichier plus gros</translation>
    </message>
    <message>
        <source>&amp;Luminance (0-255):</source>
        <translation>&amp;Luminance (0-255) :</translation>
    </message>
    <message>
        <source>Ch&amp;rominance (0-255):</source>
        <translation>Ch&amp;rominance (0-255) :</translation>
    </message>
    <message>
        <source>Su&amp;b-sampling:</source>
        <translation>&amp;Sous-échantillonnage :</translation>
    </message>
    <message>
        <source>Runs &amp;on:</source>
        <translation>S&apos;exécute s&amp;ur :</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Plus</translation>
    </message>
    <message>
        <source>Less</source>
        <translation>Moins</translation>
    </message>
    <message>
        <source>Windows packages are not available in this build.</source>
        <translation>Paquets Windows non disponibles dans cette version.</translation>
    </message>
    <message>
        <source>Image quality</source>
        <translation>Qualité de l&apos;image</translation>
    </message>
</context>
<context>
    <name>TselectDlg</name>
    <message>
        <source>All Files (*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;*.webp;*.gif;*.heic;*.heif;*.avif)|*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;*.webp;*.gif;*.heic;*.heif;*.avif</source>
        <translation>Tous les fichiers (*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;*.webp;*.gif;*.heic;*.heif;*.avif)|*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;*.webp;*.gif;*.heic;*.heif;*.avif</translation>
    </message>
    <message>
        <source>Select Images</source>
        <translation>Choisir les images</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Dossier :</translation>
    </message>
    <message>
        <source>&amp;Select</source>
        <translation>&amp;Choisir</translation>
    </message>
</context>
<context>
    <name>TshowFrm</name>
    <message>
        <source>A slide show is playing</source>
        <translation>Un diaporama est en cours</translation>
    </message>
    <message>
        <source>Verasco Viewer</source>
        <translation>Visionneuse Verasco</translation>
    </message>
    <message>
        <source>Picture and caption</source>
        <translation>Image et légende</translation>
    </message>
    <message>
        <source>Caption height</source>
        <translation>Hauteur de la légende</translation>
    </message>
    <message>
        <source>Viewer controls</source>
        <translation>Commandes de la visionneuse</translation>
    </message>
    <message>
        <source>&amp;Image 1</source>
        <translation>&amp;Image 1</translation>
    </message>
    <message>
        <source>Select image</source>
        <translation>Choisir l&apos;image</translation>
    </message>
    <message>
        <source>Previous image</source>
        <translation>Image précédente</translation>
    </message>
    <message>
        <source>Stop Verasco</source>
        <translation>Arrêter le Verasco</translation>
    </message>
    <message>
        <source>Play Verasco</source>
        <translation>Lire le Verasco</translation>
    </message>
    <message>
        <source>Next image</source>
        <translation>Image suivante</translation>
    </message>
    <message>
        <source>P&amp;references...</source>
        <translation>&amp;Préférences...</translation>
    </message>
    <message>
        <source>Set Verasco Preferences</source>
        <translation>Régler les préférences de Verasco</translation>
    </message>
    <message>
        <source>Sp&amp;eed</source>
        <translation>&amp;Vitesse</translation>
    </message>
    <message>
        <source>Set Verasco speed</source>
        <translation>Régler la vitesse du Verasco</translation>
    </message>
    <message>
        <source>&amp;Image %1</source>
        <translation>&amp;Image %1</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Caption</source>
        <translation>Légende</translation>
    </message>
    <message>
        <source>Music left out: %1</source>
        <translation>Musique omise : %1</translation>
    </message>
</context>
<context>
    <name>Tsrchform</name>
    <message>
        <source>Find Image</source>
        <translation>Rechercher une image</translation>
    </message>
    <message>
        <source>Pictures of the folder by name</source>
        <translation>Images du dossier par nom</translation>
    </message>
</context>
<context>
    <name>Ttextdlg</name>
    <message>
        <source>Sound Files (*.wav *.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;Wave Audio (*.wav);;Other Audio (*.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;All Files (*)</source>
        <translation>Fichiers audio (*.wav *.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;Audio Wave (*.wav);;Autres fichiers audio (*.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Image Properties</source>
        <translation>Propriétés de l&apos;image</translation>
    </message>
    <message>
        <source>Image:</source>
        <translation>Image :</translation>
    </message>
    <message>
        <source>Ti&amp;me:</source>
        <translation>&amp;Durée :</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>secondes</translation>
    </message>
    <message>
        <source>&amp;Image File:</source>
        <translation>Fichier &amp;image :</translation>
    </message>
    <message>
        <source>&amp;Audio File:</source>
        <translation>Fichier &amp;audio :</translation>
    </message>
    <message>
        <source>Open audio file</source>
        <translation>Ouvrir un fichier audio</translation>
    </message>
    <message>
        <source>Play audio file</source>
        <translation>Lire le fichier audio</translation>
    </message>
    <message>
        <source>&amp;Use Time of Attached Audio when Available</source>
        <translation>&amp;Utiliser la durée du son joint s&apos;il existe</translation>
    </message>
    <message>
        <source>&amp;Show text with image</source>
        <translation>Affic&amp;her le texte avec l&apos;image</translation>
    </message>
    <message>
        <source>Caption</source>
        <translation>Légende</translation>
    </message>
    <message>
        <source>&amp;Text Properties</source>
        <translation>Propriétés du &amp;texte</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>(various)</source>
        <translation>(divers)</translation>
    </message>
    <message>
        <source>Images:</source>
        <translation>Images :</translation>
    </message>
    <message>
        <source>%1 images</source>
        <translation>%1 images</translation>
    </message>
    <message>
        <source>As the show</source>
        <translation>Comme le diaporama</translation>
    </message>
</context>
<context>
    <name>WebPage</name>
    <message>
        <source>Click to start the show</source>
        <translation>Cliquez pour lancer le diaporama</translation>
    </message>
    <message>
        <source>Previous image (Left)</source>
        <translation>Image précédente (Gauche)</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Précédente</translation>
    </message>
    <message>
        <source>Play or stop (Space)</source>
        <translation>Lire ou arrêter (Espace)</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Next image (Right)</source>
        <translation>Image suivante (Droite)</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivante</translation>
    </message>
    <message>
        <source>Full screen (F)</source>
        <translation>Plein écran (F)</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>en</source>
        <comment>the language code of the page&apos;s texts</comment>
        <translation>fr</translation>
    </message>
</context>
<context>
    <name>sharing::VideoDialog</name>
    <message>
        <source>1080 x 1920 (vertical)</source>
        <translation>1080 x 1920 (vertical)</translation>
    </message>
    <message>
        <source>1080 x 1080 (square)</source>
        <translation>1080 x 1080 (carré)</translation>
    </message>
    <message>
        <source>&amp;Quality:</source>
        <translation>&amp;Qualité :</translation>
    </message>
    <message>
        <source>Captions as &amp;subtitles</source>
        <translation>Légendes en so&amp;us-titres</translation>
    </message>
    <message>
        <source>Smaller file</source>
        <translation>Fichier plus petit</translation>
    </message>
    <message>
        <source>Balanced</source>
        <translation>Équilibré</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Meilleure</translation>
    </message>
    <message>
        <source>Video Settings</source>
        <translation>Réglages de la vidéo</translation>
    </message>
    <message>
        <source>&amp;Size:</source>
        <translation>&amp;Taille :</translation>
    </message>
    <message>
        <source>&amp;Frames per second:</source>
        <translation>&amp;Images par seconde :</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>WebM (VP9 video, Opus sound)</source>
        <translation>WebM (vidéo VP9, son Opus)</translation>
    </message>
    <message>
        <source>MP4 (H.264 video, AAC sound)</source>
        <translation>MP4 (vidéo H.264, son AAC)</translation>
    </message>
    <message>
        <source>Filename:</source>
        <translation>Fichier :</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format :</translation>
    </message>
</context>
</TS>
