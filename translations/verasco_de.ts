<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>TapTimesDialog</name>
    <message>
        <source>Tap Times to Music</source>
        <translation>Zeiten zur Musik tippen</translation>
    </message>
    <message>
        <source>Press Space where each slide should end. Esc leaves the times as they were.</source>
        <translation>Drücken Sie die Leertaste, wo jedes Dia enden soll. Esc lässt die Zeiten, wie sie waren.</translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation>&amp;Fertig</translation>
    </message>
    <message>
        <source>Slide %1 of %2</source>
        <translation>Dia %1 von %2</translation>
    </message>
</context>
<context>
    <name>MusicDialog</name>
    <message>
        <source>Music</source>
        <translation>Musik</translation>
    </message>
    <message>
        <source>Music files</source>
        <translation>Musikdateien</translation>
    </message>
    <message>
        <source>&amp;Level:</source>
        <translation>&amp;Lautstärke:</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>cannot be played</source>
        <translation>nicht abspielbar</translation>
    </message>
    <message>
        <source>Music %1, show %2</source>
        <translation>Musik %1, Schau %2</translation>
    </message>
</context>
<context>
    <name>CaptionSourceField</name>
    <message>
        <source>Typed text</source>
        <translation>Eingegebener Text</translation>
    </message>
    <message>
        <source>Date taken</source>
        <translation>Aufnahmedatum</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Caption &amp;from:</source>
        <translation>Beschriftung a&amp;us:</translation>
    </message>
    <message>
        <source>&amp;Title slide</source>
        <translation>T&amp;iteldia</translation>
    </message>
    <message>
        <source>Show the caption of a blank slide large in the middle of the picture</source>
        <translation>Die Beschriftung eines leeren Dias groß in der Bildmitte zeigen</translation>
    </message>
</context>
<context>
    <name>CaptionSources</name>
    <message>
        <source>Refresh Captions</source>
        <translation>Beschriftungen auffrischen</translation>
    </message>
</context>
<context>
    <name>ArchiveEngine</name>
    <message>
        <source>Read error</source>
        <translation>Lesefehler</translation>
    </message>
    <message>
        <source>Operation cancelled</source>
        <translation>Vorgang abgebrochen</translation>
    </message>
    <message>
        <source>Could not compress data</source>
        <translation>Daten konnten nicht komprimiert werden</translation>
    </message>
    <message>
        <source>Write error</source>
        <translation>Schreibfehler</translation>
    </message>
    <message>
        <source>File too large for an archive member: %1</source>
        <translation>Datei zu groß für ein Archivmitglied: %1</translation>
    </message>
    <message>
        <source>Cannot read %1</source>
        <translation>%1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>File changed while it was read: %1</source>
        <translation>Datei wurde beim Lesen geändert: %1</translation>
    </message>
    <message>
        <source>Cannot open %1</source>
        <translation>%1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Name too long for an archive header: %1</source>
        <translation>Name zu lang für einen Archivkopf: %1</translation>
    </message>
</context>
<context>
    <name>DialogSeams</name>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Font Colour</source>
        <translation>Schriftfarbe</translation>
    </message>
    <message>
        <source>Print Setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
</context>
<context>
    <name>DocumentLifecycle</name>
    <message>
        <source>Open Existing Verasco</source>
        <translation>Vorhandenes Verasco öffnen</translation>
    </message>
    <message>
        <source>Save Verasco</source>
        <translation>Verasco speichern</translation>
    </message>
    <message>
        <source>File already exists, overwrite older file?</source>
        <translation>Datei vorhanden. Ältere Datei überschreiben?</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Verasco Help</source>
        <translation>Verasco-Hilfe</translation>
    </message>
    <message>
        <source> or </source>
        <translation> oder </translation>
    </message>
    <message>
        <source>&lt;h2&gt;Verasco Help&lt;/h2&gt;&lt;p&gt;The help file %1 was not found in %2.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Verasco-Hilfe&lt;/h2&gt;&lt;p&gt;Die Hilfedatei %1 wurde nicht in %2 gefunden.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>ImageBrowser</name>
    <message>
        <source>Files: %1</source>
        <translation>Dateien: %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Invalid Directory or Directory Read Error!</source>
        <translation>Ungültiger Ordner oder Fehler beim Lesen des Ordners!</translation>
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
        <translation>Leeres Bild!</translation>
    </message>
    <message>
        <source>Picture cannot be loaded!</source>
        <translation>Das Bild kann nicht geladen werden!</translation>
    </message>
</context>
<context>
    <name>MainMenus</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Sort Slides</source>
        <translation>Dias s&amp;ortieren</translation>
    </message>
    <message>
        <source>By &amp;Date Taken</source>
        <translation>Nach &amp;Aufnahmedatum</translation>
    </message>
    <message>
        <source>By &amp;Name</source>
        <translation>Nach &amp;Name</translation>
    </message>
    <message>
        <source>&amp;Reverse</source>
        <translation>&amp;Umkehren</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Create &amp;New Verasco</source>
        <translation>&amp;Neues Verasco erstellen</translation>
    </message>
    <message>
        <source>&amp;Open Existing Verasco...</source>
        <translation>Vorhandenes Verasco ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save Verasco...</source>
        <translation>Verasco speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Sa&amp;ve Stand-alone Verasco...</source>
        <translation>&amp;Eigenständiges Verasco speichern...</translation>
    </message>
    <message>
        <source>Print &amp;Image...</source>
        <translation>B&amp;ild drucken...</translation>
    </message>
    <message>
        <source>Print Ver&amp;asco...</source>
        <translation>Verasco &amp;drucken...</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>D&amp;ruckereinrichtung...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Save as Vi&amp;deo...</source>
        <translation>Als &amp;Video speichern...</translation>
    </message>
    <message>
        <source>Save as &amp;Web Page...</source>
        <translation>Als &amp;Webseite speichern...</translation>
    </message>
    <message>
        <source>Sav&amp;e</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Aus&amp;schneiden</translation>
    </message>
    <message>
        <source>Delete selected item</source>
        <translation>Gewähltes Element löschen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy selected item to clipboard</source>
        <translation>Gewähltes Element in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Paste contents of clipboard</source>
        <translation>Inhalt der Zwischenablage einfügen</translation>
    </message>
    <message>
        <source>Cle&amp;ar</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Cl&amp;ear All</source>
        <translation>Alles lösc&amp;hen</translation>
    </message>
    <message>
        <source>Select A&amp;ll</source>
        <translation>&amp;Alles markieren</translation>
    </message>
    <message>
        <source>Image Pr&amp;operties...</source>
        <translation>Bildeigenschaf&amp;ten...</translation>
    </message>
    <message>
        <source>Verasco P&amp;references...</source>
        <translation>Verasco-Einstellun&amp;gen...</translation>
    </message>
    <message>
        <source>&amp;Music...</source>
        <translation>&amp;Musik...</translation>
    </message>
    <message>
        <source>Choose music to play under the whole show</source>
        <translation>Musik wählen, die während der ganzen Schau läuft</translation>
    </message>
    <message>
        <source>&amp;Fit Slides to Music</source>
        <translation>Dias an Musik an&amp;passen</translation>
    </message>
    <message>
        <source>Give the slides times so that the show lasts as long as its music</source>
        <translation>Den Dias Zeiten geben, sodass die Schau so lange dauert wie ihre Musik</translation>
    </message>
    <message>
        <source>&amp;Tap Times to Music...</source>
        <translation>Zeiten zur Musik t&amp;ippen...</translation>
    </message>
    <message>
        <source>Play the music and end each slide with Space where it should</source>
        <translation>Die Musik spielen und jedes Dia mit der Leertaste dort beenden, wo es enden soll</translation>
    </message>
    <message>
        <source>Refresh Captions</source>
        <translation>Beschriftungen auffrischen</translation>
    </message>
    <message>
        <source>Take the captions that come from the photos from them again</source>
        <translation>Die Beschriftungen, die aus den Fotos stammen, erneut aus ihnen lesen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Image</source>
        <translation>&amp;Bild</translation>
    </message>
    <message>
        <source>Ver&amp;asco</source>
        <translation>&amp;Verasco</translation>
    </message>
    <message>
        <source>&amp;Resume Verasco</source>
        <translation>Verasco &amp;fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>&amp;About Verasco...</source>
        <translation>Ü&amp;ber Verasco...</translation>
    </message>
    <message>
        <source>&amp;Larger Thumbnails</source>
        <translation>&amp;Größere Miniaturen</translation>
    </message>
    <message>
        <source>&amp;Smaller Thumbnails</source>
        <translation>&amp;Kleinere Miniaturen</translation>
    </message>
    <message>
        <source>Insert &amp;Title...</source>
        <translation>Titel&amp;dia einfügen...</translation>
    </message>
    <message>
        <source>Insert a title slide before the active slide</source>
        <translation>Ein Titeldia vor dem aktiven Dia einfügen</translation>
    </message>
</context>
<context>
    <name>MissingPicture</name>
    <message>
        <source>%1
missing</source>
        <translation>%1
fehlt</translation>
    </message>
</context>
<context>
    <name>LookField</name>
    <message>
        <source>As the show</source>
        <translation>Wie die Schau</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>Blurred picture</source>
        <translation>Unscharfes Bild</translation>
    </message>
    <message>
        <source>One colour</source>
        <translation>Eine Farbe</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Unten</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Oben</translation>
    </message>
    <message>
        <source>Colour...</source>
        <translation>Farbe...</translation>
    </message>
    <message>
        <source>Fill colour</source>
        <translation>Füllfarbe</translation>
    </message>
    <message>
        <source>Fill aroun&amp;d the picture</source>
        <translation>&amp;Füllung um das Bild</translation>
    </message>
    <message>
        <source>Ca&amp;ption place</source>
        <translation>&amp;Position der Beschriftung</translation>
    </message>
</context>
<context>
    <name>MotionField</name>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Heranzoomen</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Herauszoomen</translation>
    </message>
    <message>
        <source>Pan</source>
        <translation>Schwenken</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Eigene</translation>
    </message>
    <message>
        <source>M&amp;otion:</source>
        <translation>Be&amp;wegung:</translation>
    </message>
</context>
<context>
    <name>MusicFit</name>
    <message>
        <source>The show has no music that can be played.</source>
        <translation>Die Schau hat keine Musik, die sich abspielen lässt.</translation>
    </message>
    <message>
        <source>Fit Slides to Music</source>
        <translation>Dias an Musik anpassen</translation>
    </message>
</context>
<context>
    <name>PictureReaders</name>
    <message>
        <source>not a PCX file</source>
        <translation>keine PCX-Datei</translation>
    </message>
    <message>
        <source>unsupported PCX layout</source>
        <translation>nicht unterstützter PCX-Aufbau</translation>
    </message>
    <message>
        <source>PCX picture has no pixels</source>
        <translation>PCX-Bild ohne Bildpunkte</translation>
    </message>
    <message>
        <source>PCX line length too short for the width</source>
        <translation>PCX-Zeilenlänge zu kurz für die Breite</translation>
    </message>
    <message>
        <source>PCX picture too large</source>
        <translation>PCX-Bild zu groß</translation>
    </message>
    <message>
        <source>PCX data truncated</source>
        <translation>PCX-Daten abgeschnitten</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>nicht genug Speicher</translation>
    </message>
    <message>
        <source>TGA picture too large</source>
        <translation>TGA-Bild zu groß</translation>
    </message>
    <message>
        <source>unsupported TGA type</source>
        <translation>nicht unterstützter TGA-Typ</translation>
    </message>
    <message>
        <source>bad TGA size</source>
        <translation>ungültige TGA-Größe</translation>
    </message>
    <message>
        <source>unsupported TGA pixel depth</source>
        <translation>nicht unterstützte TGA-Farbtiefe</translation>
    </message>
    <message>
        <source>TGA colour-mapped picture without a colour map</source>
        <translation>TGA-Palettenbild ohne Farbpalette</translation>
    </message>
    <message>
        <source>unsupported TGA colour map</source>
        <translation>nicht unterstützte TGA-Farbpalette</translation>
    </message>
    <message>
        <source>TGA colour map truncated</source>
        <translation>TGA-Farbpalette abgeschnitten</translation>
    </message>
    <message>
        <source>TGA file too short</source>
        <translation>TGA-Datei zu kurz</translation>
    </message>
    <message>
        <source>TGA truncated</source>
        <translation>TGA abgeschnitten</translation>
    </message>
    <message>
        <source>TGA data truncated</source>
        <translation>TGA-Daten abgeschnitten</translation>
    </message>
    <message>
        <source>HEIF picture too large</source>
        <translation>HEIF-Bild zu groß</translation>
    </message>
    <message>
        <source>HEIF picture data larger than its declared size</source>
        <translation>HEIF-Bilddaten größer als die angegebene Größe</translation>
    </message>
    <message>
        <source>picture too large</source>
        <translation>Bild zu groß</translation>
    </message>
    <message>
        <source>bitmap data truncated</source>
        <translation>Bitmap-Daten abgeschnitten</translation>
    </message>
    <message>
        <source>unknown picture format</source>
        <translation>unbekanntes Bildformat</translation>
    </message>
    <message>
        <source>empty file</source>
        <translation>leere Datei</translation>
    </message>
    <message>
        <source>cannot decode picture</source>
        <translation>Bild kann nicht dekodiert werden</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>JPEG data truncated</source>
        <translation>JPEG-Daten abgeschnitten</translation>
    </message>
    <message>
        <source>JPEG picture has too many scans</source>
        <translation>JPEG-Bild hat zu viele Durchläufe</translation>
    </message>
    <message>
        <source>JPEG picture too large</source>
        <translation>JPEG-Bild zu groß</translation>
    </message>
    <message>
        <source>corrupt JPEG data</source>
        <translation>beschädigte JPEG-Daten</translation>
    </message>
    <message>
        <source>PNG data truncated</source>
        <translation>PNG-Daten abgeschnitten</translation>
    </message>
    <message>
        <source>corrupt PNG data</source>
        <translation>beschädigte PNG-Daten</translation>
    </message>
    <message>
        <source>TIFF data truncated</source>
        <translation>TIFF-Daten abgeschnitten</translation>
    </message>
    <message>
        <source>corrupt TIFF data</source>
        <translation>beschädigte TIFF-Daten</translation>
    </message>
    <message>
        <source>WebP data truncated</source>
        <translation>WebP-Daten abgeschnitten</translation>
    </message>
    <message>
        <source>corrupt WebP data</source>
        <translation>beschädigte WebP-Daten</translation>
    </message>
</context>
<context>
    <name>PlainFiles</name>
    <message>
        <source>not a regular file (a folder, a device, a pipe or a socket)</source>
        <translation>keine gewöhnliche Datei (ein Ordner, ein Gerät, eine Pipe oder ein Socket)</translation>
    </message>
    <message>
        <source>file too large (over %1 MB)</source>
        <translation>Datei zu groß (über %1 MB)</translation>
    </message>
    <message>
        <source>the file holds more than its size says (a system file, or one still being written)</source>
        <translation>die Datei enthält mehr, als ihre Größe angibt (eine Systemdatei oder eine, die noch geschrieben wird)</translation>
    </message>
</context>
<context>
    <name>PrintContext</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Cannot print to:</source>
        <translation>Drucken nicht möglich auf:</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Paper too small!</source>
        <translation>Papier zu klein!</translation>
    </message>
</context>
<context>
    <name>PrintProgress</name>
    <message>
        <source>Printing page %1 of %2</source>
        <translation>Seite %1 von %2 wird gedruckt</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>QPrintPreviewDialog</name>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
</context>
<context>
    <name>QpxEncoder</name>
    <message>
        <source>no picture to save</source>
        <translation>kein Bild zum Speichern</translation>
    </message>
    <message>
        <source>JPEG encoding failed</source>
        <translation>JPEG-Kodierung fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>QtDialogNames</name>
    <message>
        <source>Window size</source>
        <translation>Fenstergröße</translation>
    </message>
    <message>
        <source>Places and files</source>
        <translation>Orte und Dateien</translation>
    </message>
    <message>
        <source>Width of the places</source>
        <translation>Breite der Orte</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
</context>
<context>
    <name>RecentShowsMenu</name>
    <message>
        <source>Recent Verascos</source>
        <translation>Zuletzt geöffnete Verascos</translation>
    </message>
</context>
<context>
    <name>ShareCommands</name>
    <message>
        <source>MP4 video (*.mp4)</source>
        <translation>MP4-Video (*.mp4)</translation>
    </message>
    <message>
        <source>WebM video (*.webm)</source>
        <translation>WebM-Video (*.webm)</translation>
    </message>
    <message>
        <source>Video created.</source>
        <translation>Video erstellt.</translation>
    </message>
    <message>
        <source>The video was not saved.</source>
        <translation>Das Video wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>The video could not be written.</source>
        <translation>Das Video konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Web page created.</source>
        <translation>Webseite erstellt.</translation>
    </message>
    <message>
        <source>The web page was not saved.</source>
        <translation>Die Webseite wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>The web page could not be written.</source>
        <translation>Die Webseite konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Save as Web Page</source>
        <translation>Als Webseite speichern</translation>
    </message>
    <message>
        <source>%1: a folder that holds no web page of Verasco</source>
        <translation>%1: ein Ordner ohne Verasco-Webseite</translation>
    </message>
    <message>
        <source>File already exists, overwrite older file?</source>
        <translation>Datei vorhanden. Ältere Datei überschreiben?</translation>
    </message>
    <message>
        <source>Only the page&apos;s own files are replaced: other files in the folder stay.</source>
        <translation>Nur die Dateien der Seite werden ersetzt; andere Dateien im Ordner bleiben.</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Cancelled: nothing was written.</source>
        <translation>Abgebrochen: Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Save as Video</source>
        <translation>Als Video speichern</translation>
    </message>
    <message>
        <source>%1: not a file</source>
        <translation>%1: keine Datei</translation>
    </message>
    <message>
        <source>Saving the video...</source>
        <translation>Video wird gespeichert...</translation>
    </message>
    <message>
        <source>Saving the web page...</source>
        <translation>Webseite wird gespeichert...</translation>
    </message>
    <message>
        <source>Music left out: %1</source>
        <translation>Musik ausgelassen: %1</translation>
    </message>
</context>
<context>
    <name>ShareProgress</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>ShareReasons</name>
    <message>
        <source>the sound encoder %1 is not available</source>
        <translation>der Ton-Encoder %1 ist nicht verfügbar</translation>
    </message>
    <message>
        <source>not a sound file the program plays</source>
        <translation>keine Audiodatei, die das Programm abspielt</translation>
    </message>
    <message>
        <source>no sound in the file</source>
        <translation>kein Ton in der Datei</translation>
    </message>
    <message>
        <source>the video encoder %1 is not available</source>
        <translation>der Video-Encoder %1 ist nicht verfügbar</translation>
    </message>
    <message>
        <source>a frame of the wrong size</source>
        <translation>ein Bild der falschen Größe</translation>
    </message>
    <message>
        <source>The codec module could not be loaded: %1</source>
        <translation>Das Codec-Modul konnte nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>%1: a file of the folder is where the new one puts its own</source>
        <translation>%1: Eine Datei des Ordners liegt dort, wo der neue eine eigene ablegt</translation>
    </message>
    <message>
        <source>no free working name</source>
        <translation>kein freier Arbeitsname</translation>
    </message>
    <message>
        <source>%1: cannot make its folders</source>
        <translation>%1: Die Ordner können nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>ShellDrop</name>
    <message>
        <source>Drop Files</source>
        <translation>Dateien ablegen</translation>
    </message>
</context>
<context>
    <name>ShowDocument</name>
    <message>
        <source>Add Slides</source>
        <translation>Dias hinzufügen</translation>
    </message>
    <message>
        <source>Delete Slides</source>
        <translation>Dias löschen</translation>
    </message>
    <message>
        <source>Move Slide</source>
        <translation>Dia verschieben</translation>
    </message>
    <message>
        <source>Move Slides</source>
        <translation>Dias verschieben</translation>
    </message>
    <message>
        <source>Change Slides</source>
        <translation>Dias ändern</translation>
    </message>
    <message>
        <source>Change Show</source>
        <translation>Schau ändern</translation>
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
        <translation>Die Höchstzahl an Bildern ist %1!</translation>
    </message>
    <message>
        <source>Add Images</source>
        <translation>Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Drag Images</source>
        <translation>Bilder ziehen</translation>
    </message>
    <message>
        <source>Delete Slides</source>
        <translation>Dias löschen</translation>
    </message>
    <message>
        <source>Delete Slide</source>
        <translation>Dia löschen</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
</context>
<context>
    <name>ShowExtension</name>
    <message>
        <source>its slide list is not a list</source>
        <translation>ihre Diasliste ist keine Liste</translation>
    </message>
    <message>
        <source>it holds %1 slides, the show %2</source>
        <translation>sie enthält %1 Dias, die Schau %2</translation>
    </message>
    <message>
        <source>a slide&apos;s data is not an object</source>
        <translation>die Daten eines Dias sind kein Objekt</translation>
    </message>
    <message>
        <source>it is cut short</source>
        <translation>sie sind abgeschnitten</translation>
    </message>
    <message>
        <source>it is too large</source>
        <translation>sie sind zu groß</translation>
    </message>
    <message>
        <source>its lists are nested too deeply</source>
        <translation>ihre Listen sind zu tief verschachtelt</translation>
    </message>
    <message>
        <source>it holds too many values</source>
        <translation>sie enthalten zu viele Werte</translation>
    </message>
    <message>
        <source>it lists more than %1 music files</source>
        <translation>sie nennen mehr als %1 Musikdateien</translation>
    </message>
    <message>
        <source>it holds no object</source>
        <translation>sie enthalten kein Objekt</translation>
    </message>
    <message>
        <source>Music, motion and caption data left out: %1</source>
        <translation>Musik-, Bewegungs- und Beschriftungsdaten ausgelassen: %1</translation>
    </message>
</context>
<context>
    <name>ShowFile</name>
    <message>
        <source>Read %1 of %2...</source>
        <translation>%1 von %2 gelesen...</translation>
    </message>
</context>
<context>
    <name>ShowFileCommands</name>
    <message>
        <source>The folder %1 cannot be written; choose another place</source>
        <translation>In den Ordner %1 kann nicht geschrieben werden; wählen Sie einen anderen Ort</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Invalid Verasco File!</source>
        <translation>Ungültige Verasco-Datei!</translation>
    </message>
    <message>
        <source>Path too long to keep in the show:</source>
        <translation>Pfad zu lang, um ihn in der Schau zu speichern:</translation>
    </message>
    <message>
        <source>The show could not be saved.</source>
        <translation>Die Schau konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>ShowLengthView</name>
    <message>
        <source>Show length</source>
        <translation>Länge der Schau</translation>
    </message>
</context>
<context>
    <name>ShowGridView</name>
    <message>
        <source> (%1 not found)</source>
        <translation> (%1 nicht gefunden)</translation>
    </message>
    <message>
        <source> (%1 could not be read)</source>
        <translation> (%1 nicht lesbar)</translation>
    </message>
    <message>
        <source>Images: %1</source>
        <translation>Bilder: %1</translation>
    </message>
    <message>
        <source>blank slide</source>
        <translation>leeres Dia</translation>
    </message>
    <message>
        <source>Slide %1: %2, %3 seconds</source>
        <translation>Dia %1: %2, %3 Sekunden</translation>
    </message>
    <message>
        <source>, caption: %1</source>
        <translation>, Beschriftung: %1</translation>
    </message>
    <message>
        <source>, picture not found</source>
        <translation>, Bild nicht gefunden</translation>
    </message>
    <message>
        <source>, picture not readable</source>
        <translation>, Bild nicht lesbar</translation>
    </message>
    <message>
        <source>Path too long: %1</source>
        <translation>Pfad zu lang: %1</translation>
    </message>
    <message>
        <source>Drag pictures here, or use &gt; and &gt;&gt;</source>
        <translation>Bilder hierher ziehen oder &gt; und &gt;&gt; verwenden</translation>
    </message>
    <message>
        <source>title slide</source>
        <translation>Titeldia</translation>
    </message>
</context>
<context>
    <name>ShowPrint</name>
    <message>
        <source> - Filename: </source>
        <translation> - Dateiname: </translation>
    </message>
    <message>
        <source>missing</source>
        <translation>fehlt</translation>
    </message>
</context>
<context>
    <name>SlideProperties</name>
    <message>
        <source>Image Properties</source>
        <translation>Bildeigenschaften</translation>
    </message>
    <message>
        <source>Insert Title</source>
        <translation>Titeldia einfügen</translation>
    </message>
</context>
<context>
    <name>SlideSorting</name>
    <message>
        <source>Sort Slides</source>
        <translation>Dias sortieren</translation>
    </message>
</context>
<context>
    <name>StandaloneExport</name>
    <message>
        <source>The stand-alone show could not be written.</source>
        <translation>Das eigenständige Verasco konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>A picture could not be read.</source>
        <translation>Ein Bild konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>A picture could not be converted.</source>
        <translation>Ein Bild konnte nicht umgewandelt werden.</translation>
    </message>
    <message>
        <source>An audio file could not be packed.</source>
        <translation>Eine Audiodatei konnte nicht gepackt werden.</translation>
    </message>
    <message>
        <source>%1: its name is too long.</source>
        <translation>%1: Der Name ist zu lang.</translation>
    </message>
    <message>
        <source>The pictures of this show are too large for a stand-alone show.</source>
        <translation>Die Bilder dieser Schau sind zu groß für ein eigenständiges Verasco.</translation>
    </message>
    <message>
        <source>Their data would pass 2 GB.</source>
        <translation>Ihre Daten würden 2 GB überschreiten.</translation>
    </message>
    <message>
        <source>Morvant Stand-alone Verasco (*.exe)</source>
        <translation>Eigenständiges Morvant Verasco (*.exe)</translation>
    </message>
    <message>
        <source>A stand-alone show cannot be named %1.</source>
        <translation>Ein eigenständiges Verasco kann nicht %1 heißen.</translation>
    </message>
    <message>
        <source>Save Stand-alone Verasco</source>
        <translation>Eigenständiges Verasco speichern</translation>
    </message>
    <message>
        <source>Creating Stand-alone Verasco...done</source>
        <translation>Eigenständiges Verasco wird erstellt...fertig</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Stand-alone Verasco created.</source>
        <translation>Eigenständiges Verasco erstellt.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Windows packages are not available in this build.</source>
        <translation>Windows-Pakete sind in dieser Ausgabe nicht verfügbar.</translation>
    </message>
    <message>
        <source>A picture could not be read. Put a blank slide in its place?</source>
        <translation>Bild nicht lesbar. Ein leeres Dia einsetzen?</translation>
    </message>
    <message>
        <source>Processing image %1 of %2...</source>
        <translation>Bild %1 von %2 wird verarbeitet...</translation>
    </message>
    <message>
        <source>Creating Stand-alone Verasco...</source>
        <translation>Eigenständiges Verasco wird erstellt...</translation>
    </message>
    <message>
        <source>Converting the music...</source>
        <translation>Die Musik wird umgewandelt...</translation>
    </message>
    <message>
        <source>%1: it could not be packed</source>
        <translation>%1: Die Datei konnte nicht gepackt werden</translation>
    </message>
    <message>
        <source>a file of the package could not be packed</source>
        <translation>eine Datei des Pakets konnte nicht gepackt werden</translation>
    </message>
    <message>
        <source>write error</source>
        <translation>Schreibfehler</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Free software under the MIT licence.</source>
        <translation>Freie Software unter der MIT-Lizenz.</translation>
    </message>
    <message>
        <source>Compose, present, print and package picture slide shows.</source>
        <translation>Bilderschauen zusammenstellen, vorführen, drucken und verpacken.</translation>
    </message>
</context>
<context>
    <name>TDragDropFiles</name>
    <message>
        <source>&amp;Abort</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>&amp;Copy Here</source>
        <translation>Hierher &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Move Here</source>
        <translation>Hierher &amp;verschieben</translation>
    </message>
    <message>
        <source>&amp;Shortcut(s) Create Here</source>
        <translation>Verknüpfung(en) hier &amp;erstellen</translation>
    </message>
</context>
<context>
    <name>TFormOpenDialog</name>
    <message>
        <source>List files of &amp;type:</source>
        <translation>Dateien vom &amp;Typ:</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TMainFormverasco</name>
    <message>
        <source>&amp;Verasco:</source>
        <translation>&amp;Verasco:</translation>
    </message>
    <message>
        <source>Open Slide Show file</source>
        <translation>Schaudatei öffnen</translation>
    </message>
    <message>
        <source>&amp;Images:</source>
        <translation>B&amp;ilder:</translation>
    </message>
    <message>
        <source>Select Photos folder</source>
        <translation>Fotoordner wählen</translation>
    </message>
    <message>
        <source>&amp;Play Verasco</source>
        <translation>Verasco ab&amp;spielen</translation>
    </message>
    <message>
        <source>&amp;Select Images</source>
        <translation>Bilder aus&amp;wählen</translation>
    </message>
    <message>
        <source>Verasc&amp;o</source>
        <translation>Verasc&amp;o</translation>
    </message>
    <message>
        <source>Add selected photo</source>
        <translation>Gewähltes Foto hinzufügen</translation>
    </message>
    <message>
        <source>Add all photos</source>
        <translation>Alle Fotos hinzufügen</translation>
    </message>
    <message>
        <source>Files: 0</source>
        <translation>Dateien: 0</translation>
    </message>
    <message>
        <source>Images: 0</source>
        <translation>Bilder: 0</translation>
    </message>
    <message>
        <source>Add Image</source>
        <translation>Bild hinzufügen</translation>
    </message>
    <message>
        <source>Drop Files</source>
        <translation>Dateien ablegen</translation>
    </message>
    <message>
        <source>&amp;Find Image...</source>
        <translation>Bild &amp;suchen...</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Re&amp;do %1</source>
        <translation>&amp;Wiederherstellen: %1</translation>
    </message>
    <message>
        <source>File already exists, overwrite older file?</source>
        <translation>Datei vorhanden. Ältere Datei überschreiben?</translation>
    </message>
    <message>
        <source>Add selected pictures</source>
        <translation>Gewählte Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Add all pictures</source>
        <translation>Alle Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Choose the pictures folder</source>
        <translation>Bilderordner wählen</translation>
    </message>
    <message>
        <source>Choose the show file</source>
        <translation>Schaudatei wählen</translation>
    </message>
    <message>
        <source>Pictures of the folder</source>
        <translation>Bilder des Ordners</translation>
    </message>
    <message>
        <source>Slides of the show</source>
        <translation>Dias der Schau</translation>
    </message>
    <message>
        <source>Show file</source>
        <translation>Schaudatei</translation>
    </message>
    <message>
        <source>Pictures folder</source>
        <translation>Bilderordner</translation>
    </message>
    <message>
        <source>Pictures in the folder</source>
        <translation>Bilder im Ordner</translation>
    </message>
    <message>
        <source>Slides in the show</source>
        <translation>Dias in der Schau</translation>
    </message>
    <message>
        <source>Sound files (*.wav *.mp3 *.ogg *.opus *.flac *.m4a);;All files (*)</source>
        <translation>Audiodateien (*.wav *.mp3 *.ogg *.opus *.flac *.m4a);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Music</source>
        <translation>Musik</translation>
    </message>
    <message>
        <source>Fit Slides to Music</source>
        <translation>Dias an Musik anpassen</translation>
    </message>
</context>
<context>
    <name>TOvcTable</name>
    <message>
        <source>Empty</source>
        <translation>Leer</translation>
    </message>
</context>
<context>
    <name>TPhoto</name>
    <message>
        <source>no picture given</source>
        <translation>kein Bild angegeben</translation>
    </message>
    <message>
        <source>no picture loaded</source>
        <translation>kein Bild geladen</translation>
    </message>
    <message>
        <source>cannot resize to %1 x %2</source>
        <translation>Größe kann nicht auf %1 x %2 geändert werden</translation>
    </message>
    <message>
        <source>unsupported bit depth %1</source>
        <translation>nicht unterstützte Farbtiefe %1</translation>
    </message>
    <message>
        <source>cannot open palette %1</source>
        <translation>Palette %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>not a palette file: %1</source>
        <translation>keine Palettendatei: %1</translation>
    </message>
    <message>
        <source>cannot reduce colours</source>
        <translation>Farben können nicht reduziert werden</translation>
    </message>
    <message>
        <source>picture too large for a bitmap</source>
        <translation>Bild zu groß für eine Bitmap</translation>
    </message>
    <message>
        <source>no picture to save</source>
        <translation>kein Bild zum Speichern</translation>
    </message>
    <message>
        <source>no file name to save to</source>
        <translation>kein Dateiname zum Speichern</translation>
    </message>
    <message>
        <source>cannot read %1 again at full size</source>
        <translation>%1 kann nicht erneut in voller Größe gelesen werden</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>no active printer painter</source>
        <translation>kein aktiver Druckausgabe-Zeichner</translation>
    </message>
    <message>
        <source>no picture to print</source>
        <translation>kein Bild zum Drucken</translation>
    </message>
</context>
<context>
    <name>Tconfirmfrm</name>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Do you want to save the changes you made?</source>
        <translation>Möchten Sie Ihre Änderungen speichern?</translation>
    </message>
    <message>
        <source>Do you want to save the changes you made to</source>
        <translation>Möchten Sie Ihre Änderungen speichern in</translation>
    </message>
</context>
<context>
    <name>ThumbnailBuilder</name>
    <message>
        <source>missing</source>
        <translation>fehlt</translation>
    </message>
    <message>
        <source>not readable</source>
        <translation>nicht lesbar</translation>
    </message>
</context>
<context>
    <name>TprefFrm</name>
    <message>
        <source>Reduce mo&amp;tion</source>
        <translation>Bewegungen red&amp;uzieren</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Verasco Preferences</source>
        <translation>Verasco-Einstellungen</translation>
    </message>
    <message>
        <source>Default Image Ti&amp;me</source>
        <translation>Standard-Anzeige&amp;dauer</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>&amp;Use Time of Attached Audio when Available</source>
        <translation>Dauer des angehängten &amp;Tons verwenden, falls vorhanden</translation>
    </message>
    <message>
        <source>&amp;Show Text with each image</source>
        <translation>Text mit jedem Bild an&amp;zeigen</translation>
    </message>
    <message>
        <source>&amp;Loop Verasco</source>
        <translation>Verasco &amp;wiederholen</translation>
    </message>
    <message>
        <source>&amp;Hide Editor during Verasco</source>
        <translation>&amp;Editor während des Verascos ausblenden</translation>
    </message>
    <message>
        <source>Display &amp;Controls during Verasco</source>
        <translation>&amp;Bedienelemente während des Verascos zeigen</translation>
    </message>
    <message>
        <source>&amp;Reset All Images to Default Settings</source>
        <translation>Alle Bilder auf Standardeinstellungen zu&amp;rücksetzen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Vollbild</translation>
    </message>
    <message>
        <source>Scr&amp;een</source>
        <translation>Bild&amp;schirm</translation>
    </message>
    <message>
        <source>Cr&amp;oss-fade</source>
        <translation>Überb&amp;lenden</translation>
    </message>
    <message>
        <source>Cross-fade time in seconds</source>
        <translation>Überblenddauer in Sekunden</translation>
    </message>
    <message>
        <source>Captions on a &amp;band over the picture</source>
        <translation>Beschriftung auf einem Ba&amp;nd über dem Bild</translation>
    </message>
    <message>
        <source>&amp;Appearance</source>
        <translation>Erscheinungsb&amp;ild</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Give every slide &amp;gentle motion</source>
        <translation>Jedem Dia eine s&amp;anfte Bewegung geben</translation>
    </message>
    <message>
        <source>Gentle Motion</source>
        <translation>Sanfte Bewegung</translation>
    </message>
    <message>
        <source>Captions</source>
        <translation>Beschriftungen</translation>
    </message>
    <message>
        <source>Give all %1 slides the default time, audio hold and caption setting?</source>
        <translation>Allen %1 Dias die Standarddauer, das Warten auf den Ton und die Textanzeige geben?</translation>
    </message>
    <message>
        <source>Default Settings</source>
        <translation>Standardeinstellungen</translation>
    </message>
    <message>
        <source>Cross-fade as set</source>
        <translation>Überblenden wie eingestellt</translation>
    </message>
</context>
<context>
    <name>Tpreviewfrm</name>
    <message>
        <source>This image is password protected.</source>
        <translation>Dieses Bild ist kennwortgeschützt.</translation>
    </message>
    <message>
        <source>Preview Image</source>
        <translation>Bildvorschau</translation>
    </message>
    <message>
        <source>This image cannot be opened.</source>
        <translation>Dieses Bild kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei ist nicht vorhanden.</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>Die Datei kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file is damaged or no picture.</source>
        <translation>Die Datei ist beschädigt oder kein Bild.</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>The picture is larger than the largest this program shows.</source>
        <translation>Das Bild ist größer als das größte Bild, das dieses Programm anzeigt.</translation>
    </message>
</context>
<context>
    <name>Tprint1Dlg</name>
    <message>
        <source>Print Image</source>
        <translation>Bild drucken</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Filename:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>Tprintdlg</name>
    <message>
        <source>Print Verasco</source>
        <translation>Verasco drucken</translation>
    </message>
    <message>
        <source>Sm&amp;all Size</source>
        <translation>&amp;Klein</translation>
    </message>
    <message>
        <source>M&amp;edium Size</source>
        <translation>&amp;Mittel</translation>
    </message>
    <message>
        <source>La&amp;rge Size</source>
        <translation>&amp;Groß</translation>
    </message>
    <message>
        <source>&amp;Journal Format</source>
        <translation>&amp;Journalformat</translation>
    </message>
    <message>
        <source>Co&amp;mments</source>
        <translation>Komm&amp;entare</translation>
    </message>
    <message>
        <source>Frame &amp;Numbers</source>
        <translation>Bild&amp;nummern</translation>
    </message>
    <message>
        <source>&amp;Date &amp;&amp; Filename in Header</source>
        <translation>D&amp;atum und Dateiname in der Kopfzeile</translation>
    </message>
    <message>
        <source>C&amp;ustom Footer:</source>
        <translation>Eigene &amp;Fußzeile:</translation>
    </message>
    <message>
        <source>Custom footer</source>
        <translation>Eigene Fußzeile</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Pre&amp;view...</source>
        <translation>&amp;Vorschau...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TransitionField</name>
    <message>
        <source>Cut</source>
        <translation>Schnitt</translation>
    </message>
    <message>
        <source>Fade</source>
        <translation>Überblenden</translation>
    </message>
    <message>
        <source>Wipe left</source>
        <translation>Wischen nach links</translation>
    </message>
    <message>
        <source>Wipe right</source>
        <translation>Wischen nach rechts</translation>
    </message>
    <message>
        <source>Wipe up</source>
        <translation>Wischen nach oben</translation>
    </message>
    <message>
        <source>Wipe down</source>
        <translation>Wischen nach unten</translation>
    </message>
    <message>
        <source>Push left</source>
        <translation>Schieben nach links</translation>
    </message>
    <message>
        <source>Push right</source>
        <translation>Schieben nach rechts</translation>
    </message>
    <message>
        <source>Push up</source>
        <translation>Schieben nach oben</translation>
    </message>
    <message>
        <source>Push down</source>
        <translation>Schieben nach unten</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Zufällig</translation>
    </message>
    <message>
        <source>Tra&amp;nsition:</source>
        <translation>Über&amp;gang:</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Transition time in seconds</source>
        <translation>Übergangsdauer in Sekunden</translation>
    </message>
</context>
<context>
    <name>Tsaveexedlg</name>
    <message>
        <source>Stand-alone Verasco Settings</source>
        <translation>Einstellungen für eigenständiges Verasco</translation>
    </message>
    <message>
        <source>Filename:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>Total Images:</source>
        <translation>Alle Bilder:</translation>
    </message>
    <message>
        <source>Image Files:</source>
        <translation>Bilddateien:</translation>
    </message>
    <message>
        <source>Audio Files:</source>
        <translation>Audiodateien:</translation>
    </message>
    <message>
        <source>Windows BMP Compression Quality Settings:</source>
        <translation>Qualität der Windows-BMP-Kompression:</translation>
    </message>
    <message>
        <source>Lower Image Quality</source>
        <translation>Geringere Bildqualität</translation>
    </message>
    <message>
        <source>Smaller File Size</source>
        <translation>Kleinere Datei</translation>
    </message>
    <message>
        <source>Higher Image Quality</source>
        <translation>Höhere Bildqualität</translation>
    </message>
    <message>
        <source>Larger File Size</source>
        <translation>Größere Datei</translation>
    </message>
    <message>
        <source>&amp;Luminance (0-255):</source>
        <translation>&amp;Luminanz (0-255):</translation>
    </message>
    <message>
        <source>Ch&amp;rominance (0-255):</source>
        <translation>Ch&amp;rominanz (0-255):</translation>
    </message>
    <message>
        <source>Su&amp;b-sampling:</source>
        <translation>&amp;Unterabtastung:</translation>
    </message>
    <message>
        <source>Runs &amp;on:</source>
        <translation>Läuft au&amp;f:</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Less</source>
        <translation>Weniger</translation>
    </message>
    <message>
        <source>Windows packages are not available in this build.</source>
        <translation>Windows-Pakete sind in dieser Ausgabe nicht verfügbar.</translation>
    </message>
    <message>
        <source>Image quality</source>
        <translation>Bildqualität</translation>
    </message>
</context>
<context>
    <name>TselectDlg</name>
    <message>
        <source>All Files (*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;*.webp;*.gif;*.heic;*.heif;*.avif)|*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;*.webp;*.gif;*.heic;*.heif;*.avif</source>
        <translation>Alle Dateien (*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;*.webp;*.gif;*.heic;*.heif;*.avif)|*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;*.webp;*.gif;*.heic;*.heif;*.avif</translation>
    </message>
    <message>
        <source>Select Images</source>
        <translation>Bilder auswählen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Ordner:</translation>
    </message>
    <message>
        <source>&amp;Select</source>
        <translation>&amp;Auswählen</translation>
    </message>
</context>
<context>
    <name>TshowFrm</name>
    <message>
        <source>A slide show is playing</source>
        <translation>Eine Diaschau läuft</translation>
    </message>
    <message>
        <source>Verasco Viewer</source>
        <translation>Verasco-Betrachter</translation>
    </message>
    <message>
        <source>Picture and caption</source>
        <translation>Bild und Beschriftung</translation>
    </message>
    <message>
        <source>Caption height</source>
        <translation>Höhe der Beschriftung</translation>
    </message>
    <message>
        <source>Viewer controls</source>
        <translation>Bedienelemente des Betrachters</translation>
    </message>
    <message>
        <source>&amp;Image 1</source>
        <translation>&amp;Bild 1</translation>
    </message>
    <message>
        <source>Select image</source>
        <translation>Bild wählen</translation>
    </message>
    <message>
        <source>Previous image</source>
        <translation>Vorheriges Bild</translation>
    </message>
    <message>
        <source>Stop Verasco</source>
        <translation>Verasco anhalten</translation>
    </message>
    <message>
        <source>Play Verasco</source>
        <translation>Verasco abspielen</translation>
    </message>
    <message>
        <source>Next image</source>
        <translation>Nächstes Bild</translation>
    </message>
    <message>
        <source>P&amp;references...</source>
        <translation>&amp;Einstellungen...</translation>
    </message>
    <message>
        <source>Set Verasco Preferences</source>
        <translation>Verasco-Einstellungen festlegen</translation>
    </message>
    <message>
        <source>Sp&amp;eed</source>
        <translation>&amp;Tempo</translation>
    </message>
    <message>
        <source>Set Verasco speed</source>
        <translation>Tempo des Verascos festlegen</translation>
    </message>
    <message>
        <source>&amp;Image %1</source>
        <translation>&amp;Bild %1</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Caption</source>
        <translation>Beschriftung</translation>
    </message>
    <message>
        <source>Music left out: %1</source>
        <translation>Musik ausgelassen: %1</translation>
    </message>
</context>
<context>
    <name>Tsrchform</name>
    <message>
        <source>Find Image</source>
        <translation>Bild suchen</translation>
    </message>
    <message>
        <source>Pictures of the folder by name</source>
        <translation>Bilder des Ordners nach Namen</translation>
    </message>
</context>
<context>
    <name>Ttextdlg</name>
    <message>
        <source>Sound Files (*.wav *.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;Wave Audio (*.wav);;Other Audio (*.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;All Files (*)</source>
        <translation>Audiodateien (*.wav *.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;Wave-Audio (*.wav);;Andere Audiodateien (*.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Image Properties</source>
        <translation>Bildeigenschaften</translation>
    </message>
    <message>
        <source>Image:</source>
        <translation>Bild:</translation>
    </message>
    <message>
        <source>Ti&amp;me:</source>
        <translation>&amp;Dauer:</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>&amp;Image File:</source>
        <translation>&amp;Bilddatei:</translation>
    </message>
    <message>
        <source>&amp;Audio File:</source>
        <translation>&amp;Audiodatei:</translation>
    </message>
    <message>
        <source>Open audio file</source>
        <translation>Audiodatei öffnen</translation>
    </message>
    <message>
        <source>Play audio file</source>
        <translation>Audiodatei abspielen</translation>
    </message>
    <message>
        <source>&amp;Use Time of Attached Audio when Available</source>
        <translation>Dauer des angehängten &amp;Tons verwenden, falls vorhanden</translation>
    </message>
    <message>
        <source>&amp;Show text with image</source>
        <translation>Text mit dem Bild &amp;zeigen</translation>
    </message>
    <message>
        <source>Caption</source>
        <translation>Beschriftung</translation>
    </message>
    <message>
        <source>&amp;Text Properties</source>
        <translation>Te&amp;xteigenschaften</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>(various)</source>
        <translation>(verschieden)</translation>
    </message>
    <message>
        <source>Images:</source>
        <translation>Bilder:</translation>
    </message>
    <message>
        <source>%1 images</source>
        <translation>%1 Bilder</translation>
    </message>
    <message>
        <source>As the show</source>
        <translation>Wie die Schau</translation>
    </message>
</context>
<context>
    <name>WebPage</name>
    <message>
        <source>Click to start the show</source>
        <translation>Zum Starten der Schau klicken</translation>
    </message>
    <message>
        <source>Previous image (Left)</source>
        <translation>Vorheriges Bild (Links)</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Play or stop (Space)</source>
        <translation>Abspielen oder anhalten (Leertaste)</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Next image (Right)</source>
        <translation>Nächstes Bild (Rechts)</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Full screen (F)</source>
        <translation>Vollbild (F)</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>en</source>
        <comment>the language code of the page&apos;s texts</comment>
        <translation>de</translation>
    </message>
</context>
<context>
    <name>sharing::VideoDialog</name>
    <message>
        <source>1080 x 1920 (vertical)</source>
        <translation>1080 x 1920 (hochkant)</translation>
    </message>
    <message>
        <source>1080 x 1080 (square)</source>
        <translation>1080 x 1080 (quadratisch)</translation>
    </message>
    <message>
        <source>&amp;Quality:</source>
        <translation>&amp;Qualität:</translation>
    </message>
    <message>
        <source>Captions as &amp;subtitles</source>
        <translation>Beschriftungen als &amp;Untertitel</translation>
    </message>
    <message>
        <source>Smaller file</source>
        <translation>Kleinere Datei</translation>
    </message>
    <message>
        <source>Balanced</source>
        <translation>Ausgewogen</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Beste</translation>
    </message>
    <message>
        <source>Video Settings</source>
        <translation>Video-Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Size:</source>
        <translation>&amp;Größe:</translation>
    </message>
    <message>
        <source>&amp;Frames per second:</source>
        <translation>&amp;Bilder pro Sekunde:</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>WebM (VP9 video, Opus sound)</source>
        <translation>WebM (VP9-Video, Opus-Ton)</translation>
    </message>
    <message>
        <source>MP4 (H.264 video, AAC sound)</source>
        <translation>MP4 (H.264-Video, AAC-Ton)</translation>
    </message>
    <message>
        <source>Filename:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
</context>
</TS>
