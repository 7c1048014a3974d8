<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>DialogSeams</name>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Setup</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DocumentLifecycle</name>
    <message>
        <source>Open Existing Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File already exists, overwrite older file?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Verasco Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> or </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h2&gt;Verasco Help&lt;/h2&gt;&lt;p&gt;The help file %1 was not found in %2.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImageBrowser</name>
    <message>
        <source>Files: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid Directory or Directory Read Error!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainMenus</name>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;ort Slides</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By &amp;Date Taken</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By &amp;Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reverse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create &amp;New Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Existing Verasco...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save Verasco...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sa&amp;ve Stand-alone Verasco...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print &amp;Image...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Ver&amp;asco...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as &amp;Video...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as &amp;Web Page...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete selected item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy selected item to clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste contents of clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cle&amp;ar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cl&amp;ear All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select A&amp;ll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image Pr&amp;operties...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verasco P&amp;references...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Music...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose music to play under the whole show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit Slides to &amp;Music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give the slides times so that the show lasts as long as its music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ver&amp;asco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Resume Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Verasco...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MissingPicture</name>
    <message>
        <source>%1
missing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MotionField</name>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Motion:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MusicFit</name>
    <message>
        <source>The show has no music that can be played.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit Slides to Music</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PrintProgress</name>
    <message>
        <source>Printing page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QPrintPreviewDialog</name>
    <message>
        <source>Print</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecentShowsMenu</name>
    <message>
        <source>Recent Verascos</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShareCommands</name>
    <message>
        <source>MP4 video (*.mp4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WebM video (*.webm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video was not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web page created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The web page was not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The web page could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as Web Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: a folder that holds no web page of Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File already exists, overwrite older file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only the page&apos;s own files are replaced: other files in the folder stay.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled: nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving the video...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving the web page...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShareProgress</name>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShellDrop</name>
    <message>
        <source>Drop Files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShowDocument</name>
    <message>
        <source>Add Slides</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Slides</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Slides</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Slides</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Show</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShowEditing</name>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum number of images is %1!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag Images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Slides</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShowExtension</name>
    <message>
        <source>its slide list is not a list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it holds %1 slides, the show %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a slide&apos;s data is not an object</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is cut short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is too large</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it holds no object</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Music, motion and caption data left out: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShowFile</name>
    <message>
        <source>Read %1 of %2...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShowFileCommands</name>
    <message>
        <source>The folder %1 cannot be written; choose another place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid Verasco File!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path too long to keep in the show:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The show could not be saved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShowGridView</name>
    <message>
        <source> (%1 not found)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>blank slide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slide %1: %2, %3 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, caption: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, picture not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path too long: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag pictures here, or use &gt; and &gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShowPrint</name>
    <message>
        <source> - Filename: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SlideProperties</name>
    <message>
        <source>Image Properties</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SlideSorting</name>
    <message>
        <source>Sort Slides</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StandaloneExport</name>
    <message>
        <source>The stand-alone show could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A picture could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A picture could not be converted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An audio file could not be packed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: its name is too long.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pictures of this show are too large for a stand-alone show.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Their data would pass 2 GB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Morvant Stand-alone Verasco (*.exe)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stand-alone show cannot be named %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Stand-alone Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Creating Stand-alone Verasco...done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stand-alone Verasco created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Windows packages are not available in this build.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A picture could not be read. Put a blank slide in its place?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processing image %1 of %2...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Creating Stand-alone Verasco...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free software under the MIT licence.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compose, present, print and package picture slide shows.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TDragDropFiles</name>
    <message>
        <source>&amp;Abort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy Here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Move Here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Shortcut(s) Create Here</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFormOpenDialog</name>
    <message>
        <source>List files of &amp;type:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TMainFormverasco</name>
    <message>
        <source>&amp;Verasco:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Slide Show file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Images:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Photos folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Play Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Select Images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verasc&amp;o</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add selected photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add all photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files: 0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images: 0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find Image...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File already exists, overwrite older file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add selected pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add all pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the pictures folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the show file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures of the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slides of the show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures in the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slides in the show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound files (*.wav *.mp3 *.ogg *.opus *.flac *.m4a);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit Slides to Music</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tconfirmfrm</name>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save the changes you made?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save the changes you made to</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThumbnailBuilder</name>
    <message>
        <source>missing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TprefFrm</name>
    <message>
        <source>Verasco Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Image Ti&amp;me</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Use Time of Attached Audio when Available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Show Text with each image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Loop Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hide Editor during Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display &amp;Controls during Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reset All Images to Default Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cross-&amp;fade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cross-fade time in seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Captions on a &amp;band over the picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Appearance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give every slide &amp;gentle motion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gentle Motion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Captions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give all %1 slides the default time, audio hold and caption setting?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tpreviewfrm</name>
    <message>
        <source>This image is password protected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This image cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is damaged or no picture.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tprint1Dlg</name>
    <message>
        <source>Print Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tprintdlg</name>
    <message>
        <source>Print Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sm&amp;all Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>M&amp;edium Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La&amp;rge Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Journal Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Co&amp;mments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame &amp;Numbers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Date &amp;&amp; Filename in Header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;ustom Footer:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom footer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pre&amp;view...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tsaveexedlg</name>
    <message>
        <source>Stand-alone Verasco Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filename:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total Images:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image Files:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio Files:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Windows BMP Compression Quality Settings:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lower Image Quality</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Smaller File Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Higher Image Quality</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Larger File Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Luminance (0-255):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ch&amp;rominance (0-255):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Su&amp;b-sampling:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Runs &amp;on:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Less</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Windows packages are not available in this build.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TselectDlg</name>
    <message>
        <source>All Files (*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;*.webp;*.gif;*.heic;*.heif;*.avif)|*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;*.webp;*.gif;*.heic;*.heif;*.avif</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Select</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TshowFrm</name>
    <message>
        <source>Verasco Viewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture and caption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Caption height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Viewer controls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Image 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play Verasco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;references...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Verasco Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sp&amp;eed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Verasco speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Image %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tsrchform</name>
    <message>
        <source>Find Image</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ttextdlg</name>
    <message>
        <source>Sound Files (*.wav *.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;Wave Audio (*.wav);;Other Audio (*.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ti&amp;me:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Image File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Audio File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open audio file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play audio file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Use Time of Attached Audio when Available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Show text with image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Caption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Text Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(various)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 images</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sharing::VideoDialog</name>
    <message>
        <source>Video Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Frames per second:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WebM (VP9 video, Opus sound)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP4 (H.264 video, AAC sound)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
