<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>qrb::AboutBox</name>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
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
        <source>%1 (line %2)</source>
        <translation>%1 (Dateizeile %2)</translation>
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
</TS>
