' Restricting what the end user can do with a document: the toolbar and navigation bar, the
' print and save dialogs, and the save key chord Ctrl+Shift+S.
'
'   cscript //nologo restrictions.vbs [document]
'
' Without a document the script uses sample.pdf or three_pages.pdf next to itself.
' The restrictions act on the whole desktop while they are on; the script turns them off again.
' Exit code 0 on success; otherwise non-zero with a message.
Option Explicit

Function Fail(message)
    WScript.Echo "restrictions.vbs: " & message
    WScript.Quit 1
End Function

Dim fso, folder, document, viewer, name
Set fso = CreateObject("Scripting.FileSystemObject")
folder = fso.GetParentFolderName(WScript.ScriptFullName)
If WScript.Arguments.Count > 0 Then
    document = WScript.Arguments(0)
Else
    For Each name In Array("sample.pdf", "three_pages.pdf")
        If document = "" And fso.FileExists(fso.BuildPath(folder, name)) Then document = fso.BuildPath(folder, name)
    Next
    If document = "" Then Fail "no document given and none found next to the script"
End If

On Error Resume Next
Set viewer = CreateObject("Folivex.Viewer")
If Err.Number <> 0 Then Fail "cannot create Folivex.Viewer (is Folivex.dll registered?): " & Err.Description
On Error GoTo 0

If Not viewer.OpenPDF(document) Then Fail "OpenPDF failed for " & document

' The bars: these act on the toolbar windows found while the document was opened, and ignore
' errors. ShowToolbar raises the component's error unchanged.
viewer.DisableToolbar
viewer.DisableNavigationBar
viewer.EnableNavigationBar
viewer.EnableToolbar
viewer.ShowToolbar False
viewer.ShowToolbar True
WScript.Echo "Toolbar hidden and shown again"

' Dialogs with these titles (letter case ignored) are closed as soon as they show.
viewer.DisablePrintDialog "print"
viewer.DisableSaveDialog
WScript.Echo "Print and save dialogs suppressed"

' The save chord. DisableSaveKeys reads False when the keyboard hook could not be installed.
viewer.DisableSaveKeys = True
If viewer.DisableSaveKeys Then
    WScript.Echo "Ctrl+Shift+S blocked"
Else
    WScript.Echo "Ctrl+Shift+S could not be blocked on this desktop"
End If

' The suppression timers tick through the thread's message loop: in a script host only while a
' call such as OpenPDF waits; in a form-based host all the time.

viewer.DisableSaveKeys = False
If viewer.DisableSaveKeys Then Fail "DisableSaveKeys still reads True after it was set False"
viewer.EnableSaveDialog
viewer.EnablePrintDialog
WScript.Echo "Restrictions lifted"

Set viewer = Nothing
WScript.Echo "restrictions.vbs: done"
WScript.Quit 0
