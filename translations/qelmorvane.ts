<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>CAddImageDlg</name>
    <message>
        <source>Add Image</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CButtonAddDlg</name>
    <message>
        <source>Label</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot make the down face: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Label</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CColorButton</name>
    <message>
        <source>Automatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More Colors...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colour</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CColourPalettePopup</name>
    <message>
        <source>Black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark Olive Green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark Green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark Teal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indigo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark grey</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orange</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark yellow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Teal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue-grey</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grey - 40</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light orange</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lime</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sea green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aqua</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Violet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grey - 50</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pink</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bright green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turquoise</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skyblue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light grey</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rose</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light yellow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pale green </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pale turquoise</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pale blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lavender</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CFirmwareUpgrade</name>
    <message>
        <source>Reading Data From The Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing Data to the Control</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CHotspotDlg</name>
    <message>
        <source>Return to Previous</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLayoutEdits</name>
    <message>
        <source>%1 Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit 8 Button Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename Picture</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLayoutHistory</name>
    <message>
        <source>Remove Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resize %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Push %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pull %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Page Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Page Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate Page</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLinkWorker</name>
    <message>
        <source>A firmware upgrade cannot be stopped: stopping it could leave the control without working firmware</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMorvaneDlg</name>
    <message>
        <source>Simulated QEL-1 panel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The serial port failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No port selected<byte value="xd"/>
Choose a port from the list or type its device path<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the panel&apos;s layout is damaged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The panel&apos;s layout could not be kept: %1<byte value="xd"/>
Layout not uploaded<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup of the panel&apos;s layout: %1<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Layout uploaded and verified<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Layout: %1 of the panel&apos;s %2 bytes (%3%), %4 blocks: about %5 s to send and read back<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No panel found<byte value="xd"/>
No ports to search<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Looking for a panel on %1 ports...<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Found a QEL-1 on %1 (firmware %2)<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No panel found<byte value="xd"/>
Ports searched: %1<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find Panel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Upload to Several Panels...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About QELMorvane...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The layout is larger than the panel takes (512,000 bytes)<byte value="xd"/>
Layout not uploaded<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Template...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save Template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Template &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Recent Templates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore &amp;Previous Layout...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COpenFile</name>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The layout has changes that are not saved. Save them first?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPanelPreview</name>
    <message>
        <source>QEL-1 Panel Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The panel draws an eight-button page in its own look: only the names and the events are previewed here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Events:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>down %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>up %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>press %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>level %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(no control)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>page %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The layout has no pages.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page %1 of %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (not in the layout until it is saved)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing to report.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check: nothing found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check: %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 warnings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Panel screen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPicturesDlg</name>
    <message>
        <source>Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Id</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Used by</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Label</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Picture</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPositionLine</name>
    <message>
        <source>%1: x %2, y %3, width %4, height %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pointer: x %1, y %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 objects: x %2, y %3, width %4, height %5</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CQELProg</name>
    <message>
        <source>This will clear all entries from this control.
Do you Want to continue ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All Entries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter an integer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter an integer between %1 and %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CQelFaceDlg</name>
    <message>
        <source>Single Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gradient Left to Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gradient Top to Bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gradient Radial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rounded Corner Buttons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Square Corner Buttons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Second colour</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CQelUserDlg</name>
    <message>
        <source>Zoom In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CQelWnd</name>
    <message>
        <source>%1 1 Object</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 Objects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pull</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Push</source>
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
    <message>
        <source>Duplicate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to permanently delete this object ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to permanently delete these %1 objects ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit Picture to Object</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page canvas</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRasterView</name>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecovery</name>
    <message>
        <source>QELMorvane did not close normally. Restore the layout it was editing?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSeveralPanelsDlg</name>
    <message>
        <source>ok: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FAILED: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>firmware %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/dev/ttyUSB1 or rfc2217://host:port</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSimulatorProcess</name>
    <message>
        <source>Cannot start the simulated panel (%1): %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The simulated panel did not start (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The simulated panel named no device</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTextDlg</name>
    <message>
        <source>Sans-serif</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Second background colour</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTextFieldWarning</name>
    <message>
        <source>Some characters will show as ? on the panel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>About QELMorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QELMorvane, Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration tool for the QEL-1 panel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing Data to the Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Layout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Define User Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload Layout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade Firmware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload to Several Panels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Panels to upload to:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Width:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>8 Button Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button %1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button Object</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selector ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Down Event:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up Event:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Topface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bottomface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Label...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Event Definitions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event #%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hotspot Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page to Switch To:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QEL-1 Programming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Control Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto Brightness</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual Brightness:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give Audible Feedback</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable Sleep on Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timeout:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Require PIN on Wakeup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timeout Pin:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security Pin:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Face Definition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blank</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color or Gradient</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button Face</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QEL-1 User Defined Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slider Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slider Image:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Control ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Centre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size from the text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Second color</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>Pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG Graphics files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QEL-1 Template Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QEL-1 User Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QEL-1 Firmware File</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileMessages</name>
    <message>
        <source>Not a QEL-1 template: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a QEL-1 user page: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is larger than %2 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is damaged and was not loaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not save %1: %2; nothing was written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not save %1: the layout is larger than a template can hold (%2 bytes); the file was left as it was</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryShortcuts</name>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>Background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hot Spot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level Slider</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Push</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pull</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit Picture to Object</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arrange</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align Centre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align Top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align Middle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align Bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distribute Horizontally</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distribute Vertically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Same Width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Same Height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Same Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Centre on Screen Horizontally</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Centre on Screen Vertically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5 Pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10 Pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>20 Pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>8 Button 2 Column</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Defined</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate Selected Page</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ObjectKind</name>
    <message>
        <source>Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slider</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hot Spot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Object</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UiServices</name>
    <message>
        <source>&amp;Restore</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
