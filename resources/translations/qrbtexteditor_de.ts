<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>QObject</name>
    <message>
        <source>Clear Recent Libraries</source>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>The library already holds %1 tiles, the most a library file can store. Delete a tile before creating another.</source>
        <translation>Die Bibliothek enthält bereits %1 Kacheln, so viele, wie eine Bibliotheksdatei höchstens speichern kann. Löschen Sie eine Kachel, bevor Sie eine weitere erstellen.</translation>
    </message>
    <message>
        <source>the library would have more than %1 tiles, the most a library file can store</source>
        <translation>die Bibliothek hätte mehr als %1 Kacheln, so viele, wie eine Bibliotheksdatei höchstens speichern kann</translation>
    </message>
    <message>
        <source>there is not enough memory to read it</source>
        <translation>es ist nicht genug Speicher frei, um es zu lesen</translation>
    </message>
</context>
<context>
    <name>qrb::AboutBox</name>
    <message>
        <source>Program icon</source>
        <translation>Programmsymbol</translation>
    </message>
    <message>
        <source>Tessarine QRB Text Editor</source>
        <translation>Tessarine QRB Text Editor</translation>
    </message>
    <message>
        <source>Puts lettering on the tiles of Tessarine tile libraries. Thanks to everyone who designs boards and tiles and tells us what the editor should do next.</source>
        <translation>Beschriftet die Kacheln von Tessarine-Kachelbibliotheken. Dank an alle, die Spielpläne und Kacheln gestalten und uns sagen, was der Editor als Nächstes können soll.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About Tessarine QRB Text Editor</source>
        <translation>Über Tessarine QRB Text Editor</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>qrb::DeckOptionsDialog</name>
    <message>
        <source>Export Deck Image</source>
        <translation>Kartenstapelbild exportieren</translation>
    </message>
    <message>
        <source>&amp;Cells of</source>
        <translation>Zell&amp;en von</translation>
    </message>
    <message>
        <source>Only the &amp;marked tiles (%1)</source>
        <translation>Nur die ausge&amp;wählten Kacheln (%1)</translation>
    </message>
    <message>
        <source>&amp;Hidden card: tile</source>
        <translation>&amp;Verdeckte Karte: Kachel</translation>
    </message>
    <message>
        <source>C&amp;olumns:</source>
        <translation>&amp;Spalten:</translation>
    </message>
    <message>
        <source>&amp;Rows:</source>
        <translation>&amp;Zeilen:</translation>
    </message>
    <message>
        <source>by</source>
        <translation>mal</translation>
    </message>
    <message>
        <source>&amp;Largest side (pixels):</source>
        <translation>&amp;Längste Seite (Pixel):</translation>
    </message>
</context>
<context>
    <name>qrb::Document</name>
    <message>
        <source>Create Tile</source>
        <translation>Kachel erstellen</translation>
    </message>
    <message>
        <source>Replace Tile</source>
        <translation>Kachel ersetzen</translation>
    </message>
    <message>
        <source>Add Tile</source>
        <translation>Kachel hinzufügen</translation>
    </message>
    <message>
        <source>Clone Tile</source>
        <translation>Kachel klonen</translation>
    </message>
    <message>
        <source>Delete Tile</source>
        <translation>Kachel löschen</translation>
    </message>
    <message>
        <source>Delete Selected Tiles</source>
        <translation>Ausgewählte Kacheln löschen</translation>
    </message>
    <message>
        <source>Delete Tiles</source>
        <translation>Kacheln löschen</translation>
    </message>
    <message>
        <source>%1 new tiles would take the library past %2 tiles, the most a library file can store.</source>
        <translation>Mit %1 neuen Kacheln hätte die Bibliothek mehr als %2 Kacheln, so viele, wie eine Bibliotheksdatei höchstens speichern kann.</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Platzieren</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Nach links drehen</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Nach rechts drehen</translation>
    </message>
    <message>
        <source>Flip Vertical</source>
        <translation>Vertikal spiegeln</translation>
    </message>
    <message>
        <source>Flip Horizontal</source>
        <translation>Horizontal spiegeln</translation>
    </message>
    <message>
        <source>The picture on the clipboard is %1 x %2 pixels. A tile can be at most %3 pixels wide and high.</source>
        <translation>Das Bild in der Zwischenablage ist %1 x %2 Pixel groß. Eine Kachel kann höchstens %3 Pixel breit und hoch sein.</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Paste Base Image</source>
        <translation>Grundbild einfügen</translation>
    </message>
    <message>
        <source>Small Colour</source>
        <translation>Kleinfarbe</translation>
    </message>
    <message>
        <source>Working Tile to Preview</source>
        <translation>Arbeitskachel in die Vorschau</translation>
    </message>
    <message>
        <source>Full Preview to Working Tile</source>
        <translation>Vollbildvorschau in die Arbeitskachel</translation>
    </message>
    <message>
        <source>Half Preview to Working Tile</source>
        <translation>Halbgrößenvorschau in die Arbeitskachel</translation>
    </message>
    <message>
        <source>Import Images</source>
        <translation>Bilder importieren</translation>
    </message>
    <message>
        <source>The library already holds %1 tiles, the most a library file can store. Delete a tile before duplicating another.</source>
        <translation>Die Bibliothek enthält bereits %1 Kacheln, so viele, wie eine Bibliotheksdatei höchstens speichern kann. Löschen Sie eine Kachel, bevor Sie eine weitere duplizieren.</translation>
    </message>
    <message>
        <source>Duplicate Tile</source>
        <translation>Kachel duplizieren</translation>
    </message>
    <message>
        <source>Move Tile Up</source>
        <translation>Kachel nach oben</translation>
    </message>
    <message>
        <source>Move Tile Down</source>
        <translation>Kachel nach unten</translation>
    </message>
    <message>
        <source>Move Tile to Start</source>
        <translation>Kachel an den Anfang</translation>
    </message>
    <message>
        <source>Move Tile to End</source>
        <translation>Kachel ans Ende</translation>
    </message>
    <message>
        <source>There is no tile %1: the library has %2 tiles.</source>
        <translation>Es gibt keine Kachel %1: Die Bibliothek hat %2 Kacheln.</translation>
    </message>
    <message>
        <source>Move Tile</source>
        <translation>Kachel verschieben</translation>
    </message>
    <message>
        <source>Move Tiles</source>
        <translation>Kacheln verschieben</translation>
    </message>
    <message>
        <source>Typing</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>Text Style</source>
        <translation>Textstil</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Align Text</source>
        <translation>Text ausrichten</translation>
    </message>
    <message>
        <source>The text effects are out of range: the outline is 0 to %1 pixels wide, the shadow at most %2 pixels away, the fit width 0 to %3.</source>
        <translation>Die Texteffekte liegen außerhalb des Bereichs: Der Umriss ist 0 bis %1 Pixel breit, der Schatten höchstens %2 Pixel entfernt, die Einpassbreite 0 bis %3.</translation>
    </message>
    <message>
        <source>Text Effects</source>
        <translation>Texteffekte</translation>
    </message>
    <message>
        <source>Move Text</source>
        <translation>Text verschieben</translation>
    </message>
    <message>
        <source>Turn Text</source>
        <translation>Text drehen</translation>
    </message>
    <message>
        <source>Store in Slot %1</source>
        <translation>In Platzhalter %1 ablegen</translation>
    </message>
    <message>
        <source>Recall Slot %1</source>
        <translation>Platzhalter %1 abrufen</translation>
    </message>
    <message>
        <source>Slot Text</source>
        <translation>Platzhaltertext</translation>
    </message>
    <message>
        <source>Load Position Data</source>
        <translation>Textpositionsdaten laden</translation>
    </message>
    <message>
        <source>Clear Position Data</source>
        <translation>Textpositionsdaten leeren</translation>
    </message>
    <message>
        <source>Letter from Table</source>
        <translation>Aus Tabelle beschriften</translation>
    </message>
</context>
<context>
    <name>qrb::ExportDeckCommand</name>
    <message>
        <source>Export Deck Image</source>
        <translation>Kartenstapelbild exportieren</translation>
    </message>
    <message>
        <source>PNG picture (*.png)|*.png</source>
        <translation>PNG-Bild (*.png)|*.png</translation>
    </message>
    <message>
        <source>Writing deck images ...</source>
        <translation>Kartenstapelbilder werden geschrieben ...</translation>
    </message>
    <message>
        <source>The deck image was not exported.

%1</source>
        <translation>Das Kartenstapelbild wurde nicht exportiert.

%1</translation>
    </message>
    <message>
        <source>Wrote the deck image %1</source>
        <translation>Kartenstapelbild %1 geschrieben</translation>
    </message>
    <message>
        <source>Wrote %1 deck images: %2 ...</source>
        <translation>%1 Kartenstapelbilder geschrieben: %2 ...</translation>
    </message>
</context>
<context>
    <name>qrb::ExportImagesCommand</name>
    <message>
        <source>Export the tile&apos;s picture as ...</source>
        <translation>Bild der Kachel exportieren als ...</translation>
    </message>
    <message>
        <source>Export %1 tiles&apos; pictures as ...</source>
        <translation>Bilder von %1 Kacheln exportieren als ...</translation>
    </message>
    <message>
        <source>PNG picture (*.png)|*.png|Bitmap (*.bmp)|*.bmp</source>
        <translation>PNG-Bild (*.png)|*.png|Bitmap (*.bmp)|*.bmp</translation>
    </message>
    <message>
        <source>Export the half-size pictures as well (as NAME_half files beside the full-size ones)?</source>
        <translation>Auch die Bilder in halber Größe exportieren (als Dateien NAME_half neben denen in voller Größe)?</translation>
    </message>
    <message>
        <source>Export Images</source>
        <translation>Bilder exportieren</translation>
    </message>
    <message>
        <source>Writing pictures ...</source>
        <translation>Bilder werden geschrieben ...</translation>
    </message>
    <message>
        <source>The pictures were not exported.

%1</source>
        <translation>Die Bilder wurden nicht exportiert.

%1</translation>
    </message>
    <message>
        <source>Wrote 1 picture</source>
        <translation>1 Bild geschrieben</translation>
    </message>
    <message>
        <source>Wrote %1 pictures</source>
        <translation>%1 Bilder geschrieben</translation>
    </message>
    <message>
        <source>Export Images was cancelled; no picture was written.</source>
        <translation>Bilder exportieren wurde abgebrochen; kein Bild wurde geschrieben.</translation>
    </message>
</context>
<context>
    <name>qrb::FontDialog</name>
    <message>
        <source>Font</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>&amp;Bold</source>
        <translation>&amp;Fett</translation>
    </message>
    <message>
        <source>&amp;Italic</source>
        <translation>&amp;Kursiv</translation>
    </message>
    <message>
        <source>&amp;Underline</source>
        <translation>&amp;Unterstrichen</translation>
    </message>
    <message>
        <source>Stri&amp;keout</source>
        <translation>&amp;Durchgestrichen</translation>
    </message>
    <message>
        <source>Text colour</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>&amp;Colour...</source>
        <translation>Fa&amp;rbe...</translation>
    </message>
    <message>
        <source>AaBbYyZz</source>
        <translation>AaBbÄäÖöÜüß</translation>
    </message>
    <message>
        <source>&amp;Font:</source>
        <translation>&amp;Schriftart:</translation>
    </message>
    <message>
        <source>&amp;Size:</source>
        <translation>Schrift&amp;größe:</translation>
    </message>
    <message>
        <source>Style:</source>
        <translation>Schriftstil:</translation>
    </message>
    <message>
        <source>Text colour:</source>
        <translation>Textfarbe:</translation>
    </message>
    <message>
        <source>Not installed here: shown with %1.</source>
        <translation>Hier nicht installiert: dargestellt mit %1.</translation>
    </message>
</context>
<context>
    <name>qrb::HelpWindow</name>
    <message>
        <source>QRB Text Editor Help</source>
        <translation>Hilfe zu QRB Text Editor</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Hilfeseite</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>QRB Text Editor Help - %1</source>
        <translation>Hilfe zu QRB Text Editor - %1</translation>
    </message>
</context>
<context>
    <name>qrb::ImportImagesCommand</name>
    <message>
        <source>Pictures and libraries (%1)|%2|All files (*)|*</source>
        <translation>Bilder und Bibliotheken (%1)|%2|Alle Dateien (*)|*</translation>
    </message>
    <message>
        <source>Import Images</source>
        <translation>Bilder importieren</translation>
    </message>
    <message>
        <source>Importing %1 ...</source>
        <translation>%1 wird importiert ...</translation>
    </message>
    <message>
        <source>Importing %1 pictures ...</source>
        <translation>%1 Bilder werden importiert ...</translation>
    </message>
    <message>
        <source>No pictures were imported; the library is as it was.

%1</source>
        <translation>Es wurden keine Bilder importiert; die Bibliothek ist unverändert.

%1</translation>
    </message>
    <message>
        <source>Import Images was cancelled; the library is as it was.</source>
        <translation>Bilder importieren wurde abgebrochen; die Bibliothek ist unverändert.</translation>
    </message>
    <message>
        <source>This picture was not imported:</source>
        <translation>Dieses Bild wurde nicht importiert:</translation>
    </message>
    <message>
        <source>These %1 pictures were not imported:</source>
        <translation>Diese %1 Bilder wurden nicht importiert:</translation>
    </message>
    <message>
        <source>1 picture was imported.</source>
        <translation>1 Bild wurde importiert.</translation>
    </message>
    <message>
        <source>1 tile was imported.</source>
        <translation>1 Kachel wurde importiert.</translation>
    </message>
    <message>
        <source>%1 pictures were imported.</source>
        <translation>%1 Bilder wurden importiert.</translation>
    </message>
    <message>
        <source>%1 tiles were imported.</source>
        <translation>%1 Kacheln wurden importiert.</translation>
    </message>
    <message>
        <source>Imported 1 picture</source>
        <translation>1 Bild importiert</translation>
    </message>
    <message>
        <source>Imported %1 pictures</source>
        <translation>%1 Bilder importiert</translation>
    </message>
    <message>
        <source>Imported 1 tile</source>
        <translation>1 Kachel importiert</translation>
    </message>
    <message>
        <source>Imported %1 tiles</source>
        <translation>%1 Kacheln importiert</translation>
    </message>
</context>
<context>
    <name>qrb::ImportOptionsDialog</name>
    <message>
        <source>Import Images</source>
        <translation>Bilder importieren</translation>
    </message>
    <message>
        <source>Picture: %1</source>
        <translation>Bild: %1</translation>
    </message>
    <message>
        <source>%1 files, the first: %2</source>
        <translation>%1 Dateien, die erste: %2</translation>
    </message>
    <message>
        <source>Each picture as one tile, &amp;as it is</source>
        <translation>Jedes Bild &amp;unverändert als eine Kachel</translation>
    </message>
    <message>
        <source>&amp;Fit each picture to a tile of</source>
        <translation>Jedes Bild &amp;einpassen in eine Kachel von</translation>
    </message>
    <message>
        <source>&amp;Slice into tiles of</source>
        <translation>In Kacheln &amp;zerschneiden von</translation>
    </message>
    <message>
        <source>Scale to fit inside, centred</source>
        <translation>Hineinpassend skalieren, zentriert</translation>
    </message>
    <message>
        <source>Scale to cover, cropped centred</source>
        <translation>Füllend skalieren, mittig beschnitten</translation>
    </message>
    <message>
        <source>Stretch to the size</source>
        <translation>Auf die Größe strecken</translation>
    </message>
    <message>
        <source>Leave out &amp;empty cells</source>
        <translation>&amp;Leere Zellen auslassen</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>Modus:</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Rand:</translation>
    </message>
    <message>
        <source>Spacing:</source>
        <translation>Abstand:</translation>
    </message>
    <message>
        <source>&amp;Background:</source>
        <translation>&amp;Hintergrund:</translation>
    </message>
    <message>
        <source>No preview</source>
        <translation>Keine Vorschau</translation>
    </message>
    <message>
        <source>No preview: %1</source>
        <translation>Keine Vorschau: %1</translation>
    </message>
    <message>
        <source>%1 cells</source>
        <translation>%1 Zellen</translation>
    </message>
</context>
<context>
    <name>qrb::LetterPreviewDialog</name>
    <message>
        <source>Letter from Table</source>
        <translation>Aus Tabelle beschriften</translation>
    </message>
    <message>
        <source>&amp;Icons:</source>
        <translation>&amp;Symbole:</translation>
    </message>
    <message>
        <source>no folder: {name} in a text is an error</source>
        <translation>kein Ordner: {name} in einem Text ist ein Fehler</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>&amp;Ordner wählen...</translation>
    </message>
    <message>
        <source>The folder of the icons {name} in the texts draw: name.png, name.svg or name.jpg</source>
        <translation>Der Ordner der Symbole, die {name} in den Texten zeichnet: name.png, name.svg oder name.jpg</translation>
    </message>
    <message>
        <source>&lt; &amp;Previous</source>
        <translation>&lt; &amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Weiter &gt;</translation>
    </message>
    <message>
        <source>&amp;Letter</source>
        <translation>&amp;Beschriften</translation>
    </message>
    <message>
        <source>Letter from table</source>
        <translation>Aus Tabelle beschriften</translation>
    </message>
    <message>
        <source>Lettering tiles from %1 ...</source>
        <translation>Kacheln aus %1 werden beschriftet ...</translation>
    </message>
    <message>
        <source>Lettering was cancelled.</source>
        <translation>Das Beschriften wurde abgebrochen.</translation>
    </message>
    <message>
        <source>1 row makes</source>
        <extracomment>The subject of &quot;%1: %2 %3; Letter appends them to the library.&quot;</extracomment>
        <translation>1 Zeile ergibt</translation>
    </message>
    <message>
        <source>%1 rows make</source>
        <translation>%1 Zeilen ergeben</translation>
    </message>
    <message>
        <source>1 new tile</source>
        <extracomment>The object of &quot;%1: %2 %3; Letter appends them to the library.&quot;</extracomment>
        <translation>1 neue Kachel</translation>
    </message>
    <message>
        <source>%1 new tiles</source>
        <translation>%1 neue Kacheln</translation>
    </message>
    <message>
        <source>%1: %2 %3; Letter appends them to the library.</source>
        <extracomment>%1 is the table&apos;s file name, %2 &quot;3 rows make&quot;, %3 &quot;5 new tiles&quot;.</extracomment>
        <translation>%1: %2 %3; Beschriften hängt sie an die Bibliothek an.</translation>
    </message>
    <message>
        <source>%1: no tiles were lettered.</source>
        <translation>%1: Es wurden keine Kacheln beschriftet.</translation>
    </message>
    <message>
        <source>The text of the row on line %1 did not fit its box even at 6 points and is cut.</source>
        <translation>Der Text in Dateizeile %1 passte selbst bei 6 Punkt nicht in sein Textfeld und ist abgeschnitten.</translation>
    </message>
    <message>
        <source>The texts of the rows on lines %1 did not fit their boxes even at 6 points and are cut.</source>
        <translation>Die Texte in den Dateizeilen %1 passten selbst bei 6 Punkt nicht in ihre Textfelder und sind abgeschnitten.</translation>
    </message>
    <message>
        <source>No installed font draws %1; such a character shows as an empty box.</source>
        <translation>Keine installierte Schriftart zeichnet %1; ein solches Zeichen erscheint als leeres Kästchen.</translation>
    </message>
    <message>
        <source>No row</source>
        <translation>Keine Zeile</translation>
    </message>
    <message>
        <source>Row %1 of %2 (line %3)</source>
        <translation>Zeile %1 von %2 (Dateizeile %3)</translation>
    </message>
    <message>
        <source>Row %1 of %2 (line %3, %4 copies)</source>
        <translation>Zeile %1 von %2 (Dateizeile %3, %4 Exemplare)</translation>
    </message>
    <message>
        <source>Folder of the icons</source>
        <translation>Symbolordner</translation>
    </message>
    <message>
        <source>No tiles were lettered; the library is as it was.

%1</source>
        <translation>Es wurden keine Kacheln beschriftet; die Bibliothek ist unverändert.

%1</translation>
    </message>
    <message>
        <source>Lettered 1 tile from %1</source>
        <translation>1 Kachel aus %1 beschriftet</translation>
    </message>
    <message>
        <source>Lettered %1 tiles from %2</source>
        <translation>%1 Kacheln aus %2 beschriftet</translation>
    </message>
    <message>
        <source>%1 (line %2)</source>
        <translation>%1 (Dateizeile %2)</translation>
    </message>
</context>
<context>
    <name>qrb::LibraryFileCommands</name>
    <message>
        <source>You you wish to save the current file?</source>
        <translation>Möchten Sie die aktuelle Datei speichern?</translation>
    </message>
    <message>
        <source>Do you what to save the current QRB File?</source>
        <translation>Möchten Sie die aktuelle QRB-Datei speichern?</translation>
    </message>
    <message>
        <source>Danger Ivo Brankel!</source>
        <translation>Achtung, Ivo Brankel!</translation>
    </message>
    <message>
        <source>New library: File &gt; Import Images... or Paste brings pictures in.</source>
        <translation>Neue Bibliothek: Datei &gt; Bilder importieren... oder Einfügen holt Bilder herein.</translation>
    </message>
    <message>
        <source>Open QRB file ...</source>
        <translation>QRB-Datei öffnen ...</translation>
    </message>
    <message>
        <source>The tile library could not be opened; it is no longer offered among the recent libraries.</source>
        <translation>Die Kachelbibliothek konnte nicht geöffnet werden; sie wird nicht mehr unter den zuletzt geöffneten Bibliotheken angeboten.</translation>
    </message>
    <message>
        <source>Opening %1</source>
        <translation>%1 wird geöffnet</translation>
    </message>
    <message>
        <source>The tile library could not be opened.</source>
        <translation>Die Kachelbibliothek konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Another program changed %1; Save asks before overwriting it.</source>
        <translation>Ein anderes Programm hat %1 geändert; Speichern fragt nach, bevor es die Datei überschreibt.</translation>
    </message>
    <message>
        <source>%1 has been changed by another program.
Do you want to load it again?</source>
        <translation>%1 wurde von einem anderen Programm geändert.
Möchten Sie die Datei neu laden?</translation>
    </message>
    <message>
        <source>Save QRB file as ...</source>
        <translation>QRB-Datei speichern unter ...</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist bereits vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>Do you want to over write the current file?</source>
        <translation>Möchten Sie die aktuelle Datei überschreiben?</translation>
    </message>
    <message>
        <source>%1 has been changed by another program since it was opened or saved here.
Do you want to overwrite it with the library shown in the window?</source>
        <translation>%1 wurde von einem anderen Programm geändert, seit die Datei hier geöffnet oder gespeichert wurde.
Möchten Sie sie mit der Bibliothek im Fenster überschreiben?</translation>
    </message>
    <message>
        <source>The tile library was not saved.</source>
        <translation>Die Kachelbibliothek wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it with the selected tiles?</source>
        <translation>%1 ist bereits vorhanden.
Möchten Sie die Datei durch die ausgewählten Kacheln ersetzen?</translation>
    </message>
    <message>
        <source>%1 is the file of the library open in the window.
Saving the selected tiles over it leaves the file with %2 of the library&apos;s %3 tiles; the window keeps all of them, unsaved.
Do you want to replace the library&apos;s file with the selected tiles?</source>
        <translation>%1 ist die Datei der im Fenster geöffneten Bibliothek.
Werden die ausgewählten Kacheln darüber gespeichert, enthält die Datei nur noch %2 der %3 Kacheln der Bibliothek; das Fenster behält alle, ungespeichert.
Möchten Sie die Datei der Bibliothek durch die ausgewählten Kacheln ersetzen?</translation>
    </message>
    <message>
        <source>The selected tiles were not saved.</source>
        <translation>Die ausgewählten Kacheln wurden nicht gespeichert.</translation>
    </message>
    <message>
        <source>Convert QRB file to BMP files starting with ...</source>
        <translation>QRB-Datei in BMP-Dateien umwandeln, beginnend mit ...</translation>
    </message>
    <message>
        <source>The export stopped.</source>
        <translation>Der Export wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Wrote 1 bitmap</source>
        <translation>1 Bitmap geschrieben</translation>
    </message>
    <message>
        <source>Wrote %1 bitmaps</source>
        <translation>%1 Bitmaps geschrieben</translation>
    </message>
    <message>
        <source>QRB File (*.qrb)</source>
        <translation>QRB-Datei (*.qrb)</translation>
    </message>
    <message>
        <source>BMP File (*.bmp)</source>
        <translation>BMP-Datei (*.bmp)</translation>
    </message>
</context>
<context>
    <name>qrb::MainWindow</name>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Öffnen</translation>
    </message>
    <message>
        <source>Open QRB File</source>
        <translation>QRB-Datei öffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save QRB File</source>
        <translation>QRB-Datei speichern</translation>
    </message>
    <message>
        <source>Save &amp;As ...</source>
        <translation>Speichern &amp;unter ...</translation>
    </message>
    <message>
        <source>&amp;Confirm when replacing file</source>
        <translation>&amp;Vor dem Ersetzen einer Datei nachfragen</translation>
    </message>
    <message>
        <source>&amp;Load</source>
        <translation>&amp;Laden</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>L&amp;eeren</translation>
    </message>
    <message>
        <source>&amp;Import Images...</source>
        <translation>Bilder &amp;importieren...</translation>
    </message>
    <message>
        <source>Export I&amp;mages...</source>
        <translation>Bilder e&amp;xportieren...</translation>
    </message>
    <message>
        <source>Export &amp;Deck Image...</source>
        <translation>&amp;Kartenstapelbild exportieren...</translation>
    </message>
    <message>
        <source>Create &amp;bitmaps from QRB file</source>
        <translation>Bit&amp;maps aus QRB-Datei erstellen</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>E&amp;xport print sheet...</source>
        <translation>Druckbogen &amp;exportieren...</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Paste &amp;Base Image</source>
        <translation>Grund&amp;bild einfügen</translation>
    </message>
    <message>
        <source>Cop&amp;y Tile</source>
        <translation>Kachel ko&amp;pieren</translation>
    </message>
    <message>
        <source>Pa&amp;ste Tile</source>
        <translation>Kachel ei&amp;nfügen</translation>
    </message>
    <message>
        <source>Select &amp;Font...</source>
        <translation>&amp;Schriftart wählen...</translation>
    </message>
    <message>
        <source>Select Font</source>
        <translation>Schriftart wählen</translation>
    </message>
    <message>
        <source>B&amp;old</source>
        <translation>&amp;Fett</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>&amp;Italic</source>
        <translation>Kurs&amp;iv</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>&amp;Decrease Font Size</source>
        <translation>Schrift &amp;verkleinern</translation>
    </message>
    <message>
        <source>Decrease Font Size</source>
        <translation>Schrift verkleinern</translation>
    </message>
    <message>
        <source>I&amp;ncrease Font Size</source>
        <translation>Schrift ver&amp;größern</translation>
    </message>
    <message>
        <source>Increase Font Size</source>
        <translation>Schrift vergrößern</translation>
    </message>
    <message>
        <source>Type Text &amp;Angle...</source>
        <translation>Te&amp;xtwinkel eingeben...</translation>
    </message>
    <message>
        <source>Align &amp;Left</source>
        <translation>&amp;Linksbündig</translation>
    </message>
    <message>
        <source>Align Left</source>
        <translation>Linksbündig</translation>
    </message>
    <message>
        <source>Align C&amp;entre</source>
        <translation>&amp;Zentriert</translation>
    </message>
    <message>
        <source>Align Centre</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>Align Rig&amp;ht</source>
        <translation>Re&amp;chtsbündig</translation>
    </message>
    <message>
        <source>Align Right</source>
        <translation>Rechtsbündig</translation>
    </message>
    <message>
        <source>Align &amp;Top</source>
        <translation>&amp;Oben ausrichten</translation>
    </message>
    <message>
        <source>Align Top</source>
        <translation>Oben ausrichten</translation>
    </message>
    <message>
        <source>Align &amp;Middle</source>
        <translation>&amp;Mittig ausrichten</translation>
    </message>
    <message>
        <source>Align Middle</source>
        <translation>Mittig ausrichten</translation>
    </message>
    <message>
        <source>Ali&amp;gn Bottom</source>
        <translation>&amp;Unten ausrichten</translation>
    </message>
    <message>
        <source>Align Bottom</source>
        <translation>Unten ausrichten</translation>
    </message>
    <message>
        <source>Te&amp;xt Effects...</source>
        <translation>&amp;Texteffekte...</translation>
    </message>
    <message>
        <source>Text Effects</source>
        <translation>Texteffekte</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Create Tile</source>
        <translation>Kachel &amp;erstellen</translation>
    </message>
    <message>
        <source>&amp;Add tile</source>
        <translation>Kachel hinzuf&amp;ügen</translation>
    </message>
    <message>
        <source>Clo&amp;ne tile</source>
        <translation>Kachel &amp;klonen</translation>
    </message>
    <message>
        <source>D&amp;elete tile</source>
        <translation>Kachel l&amp;öschen</translation>
    </message>
    <message>
        <source>&amp;Rotate tile left</source>
        <translation>Kachel nach &amp;links drehen</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Nach links drehen</translation>
    </message>
    <message>
        <source>Rotate tile ri&amp;ght</source>
        <translation>Kachel nach &amp;rechts drehen</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Nach rechts drehen</translation>
    </message>
    <message>
        <source>&amp;Flip tile horizontal</source>
        <translation>Kachel hori&amp;zontal spiegeln</translation>
    </message>
    <message>
        <source>Flip Horizontal</source>
        <translation>Horizontal spiegeln</translation>
    </message>
    <message>
        <source>Flip tile &amp;vertical</source>
        <translation>Kachel verti&amp;kal spiegeln</translation>
    </message>
    <message>
        <source>Flip Vertical</source>
        <translation>Vertikal spiegeln</translation>
    </message>
    <message>
        <source>Set &amp;base tile</source>
        <translation>Als &amp;Grundkachel festlegen</translation>
    </message>
    <message>
        <source>Automatically &amp;paste base image when tile is created</source>
        <translation>Grundbild beim Erstellen einer Kachel automatisch ein&amp;fügen</translation>
    </message>
    <message>
        <source>Automatically create tile from &amp;working tile</source>
        <translation>Kachel a&amp;utomatisch aus der Arbeitskachel erstellen</translation>
    </message>
    <message>
        <source>Automatically create &amp;halfsize tile</source>
        <translation>&amp;Halbgröße automatisch erzeugen</translation>
    </message>
    <message>
        <source>Create tile &amp;using position data</source>
        <translation>Kachel mit &amp;Textpositionsdaten erstellen</translation>
    </message>
    <message>
        <source>Replace &amp;Tile</source>
        <translation>Kachel er&amp;setzen</translation>
    </message>
    <message>
        <source>&amp;Move Tile Up</source>
        <translation>Kachel nach &amp;oben</translation>
    </message>
    <message>
        <source>Move Tile Dow&amp;n</source>
        <translation>Kachel nach u&amp;nten</translation>
    </message>
    <message>
        <source>M&amp;ove Tile to Start</source>
        <translation>Kachel an den &amp;Anfang</translation>
    </message>
    <message>
        <source>Move Tile to &amp;End</source>
        <translation>Kachel ans En&amp;de</translation>
    </message>
    <message>
        <source>Duplic&amp;ate Tile</source>
        <translation>Kachel du&amp;plizieren</translation>
    </message>
    <message>
        <source>&amp;Delete Tile</source>
        <translation>Kachel lös&amp;chen</translation>
    </message>
    <message>
        <source>Delete Tile</source>
        <translation>Kachel löschen</translation>
    </message>
    <message>
        <source>&amp;Letter from table...</source>
        <translation>Aus Tabelle &amp;beschriften...</translation>
    </message>
    <message>
        <source>Wor&amp;king Tile to Preview</source>
        <translation>Arbeitskachel in die &amp;Vorschau</translation>
    </message>
    <message>
        <source>Edit Full-Si&amp;ze Image</source>
        <translation>Bild &amp;in voller Größe bearbeiten</translation>
    </message>
    <message>
        <source>Edit Half-Size &amp;Image</source>
        <translation>Bild in halber &amp;Größe bearbeiten</translation>
    </message>
    <message>
        <source>Choose &amp;Small Colour...</source>
        <translation>Kleinfarbe &amp;wählen...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Vergrößern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>&amp;Originalgröße</translation>
    </message>
    <message>
        <source>&amp;Fit Working Tile</source>
        <translation>Arbeitskachel &amp;einpassen</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>Set as Base tile</source>
        <translation>Als Grundkachel festlegen</translation>
    </message>
    <message>
        <source>Save selected tiles</source>
        <translation>Ausgewählte Kacheln speichern</translation>
    </message>
    <message>
        <source>Save selected tiles as...</source>
        <translation>Ausgewählte Kacheln speichern unter...</translation>
    </message>
    <message>
        <source>Delete selected tiles</source>
        <translation>Ausgewählte Kacheln löschen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>&amp;Kachel</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>TileMenu</source>
        <translation>Kachelmenü</translation>
    </message>
    <message>
        <source>&amp;Text Position Data</source>
        <translation>&amp;Textpositionsdaten</translation>
    </message>
    <message>
        <source>Recent &amp;Libraries</source>
        <translation>&amp;Zuletzt geöffnete Bibliotheken</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Automatically Create Halfsize Tile</source>
        <translation>Halbgröße automatisch erzeugen</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>There is not enough memory to complete this command.</source>
        <translation>Es ist nicht genug Speicher frei, um diesen Befehl auszuführen.</translation>
    </message>
    <message>
        <source>The command could not be completed.

%1</source>
        <translation>Der Befehl konnte nicht ausgeführt werden.

%1</translation>
    </message>
    <message>
        <source>The command could not be completed.</source>
        <translation>Der Befehl konnte nicht ausgeführt werden.</translation>
    </message>
    <message>
        <source>Weird displays will occur with tile sizes greater than 256 X 256</source>
        <translation>Bei Kachelgrößen über 256 x 256 kommt es zu seltsamen Anzeigen</translation>
    </message>
    <message>
        <source>1 more tile in this library is larger than 256 X 256.</source>
        <translation>1 weitere Kachel dieser Bibliothek ist größer als 256 x 256.</translation>
    </message>
    <message>
        <source>%1 more tiles in this library are larger than 256 X 256.</source>
        <translation>%1 weitere Kacheln dieser Bibliothek sind größer als 256 x 256.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>&amp;Create</source>
        <translation>&amp;Erstellen</translation>
    </message>
    <message>
        <source>Click to create new tile</source>
        <translation>Klicken, um eine neue Kachel zu erstellen</translation>
    </message>
    <message>
        <source>Create tile</source>
        <translation>Kachel erstellen</translation>
    </message>
</context>
<context>
    <name>qrb::PrintPreviewDialog</name>
    <message>
        <source>Previous Page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Fit Page</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Seitenbreite</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>The preview could not be drawn: %1</source>
        <translation>Die Vorschau konnte nicht gezeichnet werden: %1</translation>
    </message>
    <message>
        <source> Page %1 of %2 </source>
        <translation> Seite %1 von %2 </translation>
    </message>
</context>
<context>
    <name>qrb::PrintSheetCommands</name>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>P&amp;rint...</source>
        <translation>D&amp;rucken...</translation>
    </message>
    <message>
        <source>The tiles were not printed.</source>
        <translation>Die Kacheln wurden nicht gedruckt.</translation>
    </message>
    <message>
        <source>Export print sheet</source>
        <translation>Druckbogen exportieren</translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation>E&amp;xportieren...</translation>
    </message>
    <message>
        <source>Export print sheet as ...</source>
        <translation>Druckbogen exportieren als ...</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist bereits vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>The print sheet was not written.</source>
        <translation>Der Druckbogen wurde nicht geschrieben.</translation>
    </message>
    <message>
        <source>PDF File (*.pdf)</source>
        <translation>PDF-Datei (*.pdf)</translation>
    </message>
</context>
<context>
    <name>qrb::QtDialogBackend</name>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>qrb::QtProgressDialog</name>
    <message>
        <source>Stopping...</source>
        <translation>Wird angehalten...</translation>
    </message>
</context>
<context>
    <name>qrb::SheetOptionsWidget</name>
    <message>
        <source>Custom</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message>
        <source>&amp;Paper:</source>
        <translation>&amp;Papier:</translation>
    </message>
    <message>
        <source>Paper si&amp;ze:</source>
        <translation>Papier&amp;format:</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>&amp;Orientation:</source>
        <translation>A&amp;usrichtung:</translation>
    </message>
    <message>
        <source>&amp;Margin:</source>
        <translation>Ran&amp;d:</translation>
    </message>
    <message>
        <source>The printed width of a tile; its height follows its proportions</source>
        <translation>Die gedruckte Breite einer Kachel; ihre Höhe folgt aus ihren Proportionen</translation>
    </message>
    <message>
        <source>&amp;Tile size:</source>
        <translation>&amp;Kachelgröße:</translation>
    </message>
    <message>
        <source>&amp;Gap:</source>
        <translation>A&amp;bstand:</translation>
    </message>
    <message>
        <source>How far each tile&apos;s edge is printed beyond its cut line</source>
        <translation>Wie weit der Rand jeder Kachel über ihre Schnittlinie hinaus gedruckt wird</translation>
    </message>
    <message>
        <source>&amp;Bleed:</source>
        <translation>Beschnittzu&amp;gabe:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Corners</source>
        <translation>Ecken</translation>
    </message>
    <message>
        <source>Full lines</source>
        <translation>Durchgehende Linien</translation>
    </message>
    <message>
        <source>C&amp;ut marks:</source>
        <translation>S&amp;chnittmarken:</translation>
    </message>
    <message>
        <source>Copies of &amp;each:</source>
        <translation>&amp;Exemplare je Kachel:</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>&amp;Selected tiles only (%1)</source>
        <translation>&amp;Nur ausgewählte Kacheln (%1)</translation>
    </message>
    <message>
        <source>&amp;Selected tiles only</source>
        <translation>&amp;Nur ausgewählte Kacheln</translation>
    </message>
</context>
<context>
    <name>qrb::SheetPrintJob</name>
    <message>
        <source>1 tile</source>
        <translation>1 Kachel</translation>
    </message>
    <message>
        <source>%1 tiles</source>
        <translation>%1 Kacheln</translation>
    </message>
    <message>
        <source>1 page</source>
        <translation>1 Seite</translation>
    </message>
    <message>
        <source>%1 pages</source>
        <translation>%1 Seiten</translation>
    </message>
    <message>
        <source>%1 on %2 (up to %3 across and %4 down).</source>
        <comment>print sheet: tiles, pages, columns, rows</comment>
        <translation>%1 auf %2 (bis zu %3 nebeneinander und %4 untereinander).</translation>
    </message>
</context>
<context>
    <name>qrb::StatusBarPanel</name>
    <message>
        <source>Number of tiles in QRB file</source>
        <translation>Anzahl der Kacheln in der QRB-Datei</translation>
    </message>
    <message>
        <source>Font Name</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>Font Style</source>
        <translation>Schriftstil</translation>
    </message>
    <message>
        <source>Working tile zoom</source>
        <translation>Zoom der Arbeitskachel</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>%1 Tiles</source>
        <translation>%1 Kacheln</translation>
    </message>
    <message>
        <source>Tile %1 of %2</source>
        <translation>Kachel %1 von %2</translation>
    </message>
    <message>
        <source>1 Tile</source>
        <translation>1 Kachel</translation>
    </message>
</context>
<context>
    <name>qrb::StripPanel</name>
    <message>
        <source>Tile strip</source>
        <translation>Kachelleiste</translation>
    </message>
    <message>
        <source>Up and Down choose the tile to edit</source>
        <translation>Auf und Ab wählen die zu bearbeitende Kachel</translation>
    </message>
    <message>
        <source>Scroll tile strip</source>
        <translation>Kachelleiste blättern</translation>
    </message>
    <message>
        <source>Scroll tile strip sideways</source>
        <translation>Kachelleiste seitwärts blättern</translation>
    </message>
</context>
<context>
    <name>qrb::TableLetteringCommand</name>
    <message>
        <source>Letter tiles from table</source>
        <translation>Kacheln aus Tabelle beschriften</translation>
    </message>
    <message>
        <source>Letter from table</source>
        <translation>Aus Tabelle beschriften</translation>
    </message>
    <message>
        <source>Reading %1 ...</source>
        <translation>%1 wird gelesen ...</translation>
    </message>
    <message>
        <source>No tiles were lettered; the library is as it was.

%1</source>
        <translation>Es wurden keine Kacheln beschriftet; die Bibliothek ist unverändert.

%1</translation>
    </message>
    <message>
        <source>%1 has no row that makes a tile; the library is as it was.</source>
        <translation>%1 hat keine Zeile, die eine Kachel ergibt; die Bibliothek ist unverändert.</translation>
    </message>
    <message>
        <source>Letter from table was cancelled; the library is as it was.</source>
        <translation>Aus Tabelle beschriften wurde abgebrochen; die Bibliothek ist unverändert.</translation>
    </message>
    <message>
        <source>Table (*.csv *.tsv)</source>
        <translation>Tabelle (*.csv *.tsv)</translation>
    </message>
    <message>
        <source>Comma-separated (*.csv)</source>
        <translation>Kommagetrennt (*.csv)</translation>
    </message>
    <message>
        <source>Tab-separated (*.tsv)</source>
        <translation>Tabulatorgetrennt (*.tsv)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>qrb::TextEffectsDialog</name>
    <message>
        <source>Text Effects</source>
        <translation>Texteffekte</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>&amp;Shadow</source>
        <translation>&amp;Schatten</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>&amp;Outline:</source>
        <translation>&amp;Umriss:</translation>
    </message>
    <message>
        <source>right</source>
        <translation>rechts</translation>
    </message>
    <message>
        <source>down</source>
        <translation>unten</translation>
    </message>
    <message>
        <source>&amp;Fit width:</source>
        <translation>Auf &amp;Breite einpassen:</translation>
    </message>
</context>
<context>
    <name>qrb::TextPlacementPanel</name>
    <message>
        <source>Enter text for tile here.</source>
        <translation>Text für die Kachel hier eingeben.</translation>
    </message>
    <message>
        <source>Text to place</source>
        <translation>Zu platzierender Text</translation>
    </message>
    <message>
        <source>Text position</source>
        <translation>Textposition</translation>
    </message>
    <message>
        <source>Text Position</source>
        <translation>Textposition</translation>
    </message>
    <message>
        <source>Horizontal position</source>
        <translation>Horizontale Position</translation>
    </message>
    <message>
        <source>Vertical position</source>
        <translation>Vertikale Position</translation>
    </message>
    <message>
        <source>Horizontal Position - Click to change</source>
        <translation>Horizontale Position - zum Ändern klicken</translation>
    </message>
    <message>
        <source>Vertical Position - Click to change</source>
        <translation>Vertikale Position - zum Ändern klicken</translation>
    </message>
    <message>
        <source>Tile Size</source>
        <translation>Kachelgröße</translation>
    </message>
    <message>
        <source>Working tile size</source>
        <translation>Größe der Arbeitskachel</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Platzieren</translation>
    </message>
    <message>
        <source>Place text on the working tile</source>
        <translation>Text auf der Arbeitskachel platzieren</translation>
    </message>
    <message>
        <source>Store</source>
        <translation>Ablegen</translation>
    </message>
    <message>
        <source>After clicking &quot;Store&quot; select one of the nine position buttons below to save the current text, position, and font</source>
        <translation>Nach einem Klick auf &quot;Ablegen&quot; einen der neun Platzhalter unten wählen, um den aktuellen Text, seine Position und Schriftart zu speichern</translation>
    </message>
    <message>
        <source>Text angle</source>
        <translation>Textwinkel</translation>
    </message>
    <message>
        <source>Current Text Angle</source>
        <translation>Aktueller Textwinkel</translation>
    </message>
    <message>
        <source>Enter the desired text angle</source>
        <translation>Gewünschten Textwinkel eingeben</translation>
    </message>
    <message>
        <source>Text angle dial</source>
        <translation>Textwinkel-Drehregler</translation>
    </message>
    <message>
        <source>Position slots</source>
        <translation>Platzhalter</translation>
    </message>
    <message>
        <source>Position Slots</source>
        <translation>Platzhalter</translation>
    </message>
    <message>
        <source>Slot %1 text</source>
        <translation>Text von Platzhalter %1</translation>
    </message>
    <message>
        <source>Slot %1</source>
        <translation>Platzhalter %1</translation>
    </message>
    <message>
        <source>%1

The slot keeps the text, but position data cannot be saved until it is changed.</source>
        <translation>%1

Der Platzhalter behält den Text, aber die Textpositionsdaten können erst gespeichert werden, wenn er geändert ist.</translation>
    </message>
    <message>
        <source>Save position data to...</source>
        <translation>Textpositionsdaten speichern unter...</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist bereits vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>The position data was not saved.</source>
        <translation>Die Textpositionsdaten wurden nicht gespeichert.</translation>
    </message>
    <message>
        <source>Open position data file</source>
        <translation>Positionsdatei öffnen</translation>
    </message>
    <message>
        <source>The position data was not loaded; the position slots are unchanged.</source>
        <translation>Die Textpositionsdaten wurden nicht geladen; die Platzhalter sind unverändert.</translation>
    </message>
    <message>
        <source>QPF File (*.qpf)</source>
        <translation>QPF-Datei (*.qpf)</translation>
    </message>
    <message>
        <source>Bold Italic</source>
        <comment>status bar: font style</comment>
        <translation>Fett Kursiv</translation>
    </message>
    <message>
        <source>Bold</source>
        <comment>status bar: font style</comment>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <comment>status bar: font style</comment>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Centre</source>
        <comment>status bar: the text&apos;s horizontal anchor</comment>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>Right</source>
        <comment>status bar: the text&apos;s horizontal anchor</comment>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Left</source>
        <comment>status bar: the text&apos;s horizontal anchor</comment>
        <translation>Links</translation>
    </message>
    <message>
        <source>Middle</source>
        <comment>status bar: the text&apos;s vertical anchor</comment>
        <translation>Mitte</translation>
    </message>
    <message>
        <source>Bottom</source>
        <comment>status bar: the text&apos;s vertical anchor</comment>
        <translation>Unten</translation>
    </message>
    <message>
        <source>Top</source>
        <comment>status bar: the text&apos;s vertical anchor</comment>
        <translation>Oben</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>status bar: horizontal and vertical anchor</comment>
        <translation>%1 %2</translation>
    </message>
</context>
<context>
    <name>qrb::TileTransferCommands</name>
    <message>
        <source>The tiles cannot be taken: %1</source>
        <translation>Die Kacheln können nicht übernommen werden: %1</translation>
    </message>
    <message>
        <source>Copied tile %1</source>
        <translation>Kachel %1 kopiert</translation>
    </message>
    <message>
        <source>Copied %1 tiles</source>
        <translation>%1 Kacheln kopiert</translation>
    </message>
    <message>
        <source>Drop Tiles</source>
        <translation>Kacheln ablegen</translation>
    </message>
    <message>
        <source>Copied 1 tile here</source>
        <translation>1 Kachel hierher kopiert</translation>
    </message>
    <message>
        <source>Copied %1 tiles here</source>
        <translation>%1 Kacheln hierher kopiert</translation>
    </message>
    <message>
        <source>The clipboard&apos;s picture is larger than a tile may be.</source>
        <translation>Das Bild in der Zwischenablage ist größer, als eine Kachel sein darf.</translation>
    </message>
    <message>
        <source>The clipboard holds no tile or picture to paste.</source>
        <translation>Die Zwischenablage enthält keine Kachel und kein Bild zum Einfügen.</translation>
    </message>
    <message>
        <source>Paste Tile</source>
        <translation>Kachel einfügen</translation>
    </message>
    <message>
        <source>Pasted 1 tile</source>
        <translation>1 Kachel eingefügt</translation>
    </message>
    <message>
        <source>Pasted %1 tiles</source>
        <translation>%1 Kacheln eingefügt</translation>
    </message>
</context>
<context>
    <name>qrb::WorkingTilePanel</name>
    <message>
        <source>New tile</source>
        <translation>Neue Kachel</translation>
    </message>
    <message>
        <source>Working tile</source>
        <translation>Arbeitskachel</translation>
    </message>
    <message>
        <source>Drag or use the arrow keys to move the text (Shift: ten pixels)</source>
        <translation>Ziehen oder mit den Pfeiltasten den Text verschieben (Umschalt: zehn Pixel)</translation>
    </message>
    <message>
        <source>Full-size preview</source>
        <translation>Vorschau in voller Größe</translation>
    </message>
    <message>
        <source>Full-size image of the new tile - click to edit it</source>
        <translation>Bild der neuen Kachel in voller Größe - zum Bearbeiten klicken</translation>
    </message>
    <message>
        <source>Half-size preview</source>
        <translation>Vorschau in halber Größe</translation>
    </message>
    <message>
        <source>Half-size image of the new tile - click to edit it</source>
        <translation>Bild der neuen Kachel in halber Größe - zum Bearbeiten klicken</translation>
    </message>
    <message>
        <source>Small colour</source>
        <translation>Kleinfarbe</translation>
    </message>
    <message>
        <source>Small-scale colour of the new tile - click to choose it</source>
        <translation>Kleinfarbe der neuen Kachel - zum Wählen klicken</translation>
    </message>
    <message>
        <source>Nothing was created: pick a tile in the strip (or paste a picture) first.</source>
        <translation>Es wurde nichts erstellt: Wählen Sie zuerst eine Kachel in der Kachelleiste (oder fügen Sie ein Bild ein).</translation>
    </message>
    <message>
        <source>Nothing was replaced: pick the tile to replace in the strip first.</source>
        <translation>Es wurde nichts ersetzt: Wählen Sie zuerst die zu ersetzende Kachel in der Kachelleiste.</translation>
    </message>
</context>
</TS>
