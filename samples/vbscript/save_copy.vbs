' Opens a document and saves a copy of it with SaveCopy.
'
'   cscript //nologo save_copy.vbs [document] [destination]
'
' Without a document the script uses sample.pdf or three_pages.pdf next to itself; without a
' destination it writes folivex_copy.pdf into the user's temp folder and deletes it afterwards.
' For a downloaded document SaveCopy copies the downloaded local copy, not the address.
' Exit code 0 on success; otherwise non-zero with a message.
Option Explicit

Function Fail(message)
    WScript.Echo "save_copy.vbs: " & message
    WScript.Quit 1
End Function

Dim fso, folder, document, destination, keep, viewer, name
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
keep = (WScript.Arguments.Count > 1)
If keep Then
    destination = WScript.Arguments(1)
Else
    destination = fso.BuildPath(fso.GetSpecialFolder(2).Path, "folivex_copy.pdf")
End If

On Error Resume Next
Set viewer = CreateObject("Folivex.Viewer")
If Err.Number <> 0 Then Fail "cannot create Folivex.Viewer (is Folivex.dll registered?): " & Err.Description
On Error GoTo 0
viewer.TempPath = fso.GetSpecialFolder(2).Path

If Not viewer.OpenPDF(document) Then Fail "OpenPDF failed for " & document

' SaveCopy never raises: False when there is no source, or the copy could not be written.
If Not viewer.SaveCopy(destination) Then Fail "SaveCopy failed for " & destination
If Not fso.FileExists(destination) Then Fail "SaveCopy returned True but " & destination & " is missing"
WScript.Echo "Saved a copy of " & viewer.Path & " as " & destination & " (" & fso.GetFile(destination).Size & " bytes)"

' A source that does not exist gives False.
If viewer.SaveCopy(destination, fso.BuildPath(folder, "no such file.pdf")) Then Fail "SaveCopy of a missing source returned True"

If Not keep Then fso.DeleteFile destination
Set viewer = Nothing
WScript.Echo "save_copy.vbs: done"
WScript.Quit 0
