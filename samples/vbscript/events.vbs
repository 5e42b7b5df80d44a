' The four download events of Folivex.Viewer, handled in VBScript.
'
'   cscript //nologo events.vbs [address-or-path]
'
' WScript.CreateObject connects the Viewer_ subs below to the control's events. OpenPDF
' downloads an http/ftp address synchronously and raises the events while it waits. Some script
' hosts (Wine's cscript among them) do not deliver events: the script then still opens the
' document and exits 0, and says that no event arrived.
' Without an argument the script opens sample.pdf or three_pages.pdf next to itself (a local
' document raises no download events).
' Exit code 0 on success; otherwise non-zero with a message.
Option Explicit

Dim completed, completedBytes, failed
completed = False : completedBytes = -1 : failed = False

Sub Viewer_DownloadStarted(SaveFile)
    WScript.Echo "DownloadStarted: " & SaveFile
End Sub

Sub Viewer_DownloadProgress(CurBytes, MaxBytes, SaveFile)
    WScript.Echo "DownloadProgress: " & CurBytes & " of " & MaxBytes
End Sub

Sub Viewer_DownloadError(SaveFile)
    WScript.Echo "DownloadError: " & SaveFile
    failed = True
End Sub

Sub Viewer_DownloadComplete(MaxBytes, SaveFile)
    WScript.Echo "DownloadComplete: " & MaxBytes & " bytes in " & SaveFile
    completedBytes = MaxBytes
    completed = True
End Sub

Function Fail(message)
    WScript.Echo "events.vbs: " & message
    WScript.Quit 1
End Function

Function FindDocument()
    Dim fso, folder, name
    If WScript.Arguments.Count > 0 Then
        FindDocument = WScript.Arguments(0)
        Exit Function
    End If
    Set fso = CreateObject("Scripting.FileSystemObject")
    folder = fso.GetParentFolderName(WScript.ScriptFullName)
    For Each name In Array("sample.pdf", "three_pages.pdf")
        If fso.FileExists(fso.BuildPath(folder, name)) Then
            FindDocument = fso.BuildPath(folder, name)
            Exit Function
        End If
    Next
    Fail "no document given and none found next to the script"
End Function

Function IsRemote(address)
    Dim head : head = LCase(Left(address, 4))
    IsRemote = (head = "http" Or head = "ftp:")
End Function

Dim document, viewer, opened, fso
document = FindDocument()

On Error Resume Next
Set viewer = WScript.CreateObject("Folivex.Viewer", "Viewer_")
If Err.Number <> 0 Then
    ' A script host that cannot connect events refuses the prefix: go on without them.
    WScript.Echo "Events cannot be connected here (" & Err.Description & "); going on without them."
    Err.Clear
    Set viewer = CreateObject("Folivex.Viewer")
End If
If Err.Number <> 0 Then Fail "cannot create Folivex.Viewer (is Folivex.dll registered?): " & Err.Description
On Error GoTo 0

' A download needs a writable directory; the default is C:\TEMP\. Use the user's temp folder.
Set fso = CreateObject("Scripting.FileSystemObject")
viewer.TempPath = fso.GetSpecialFolder(2).Path
WScript.Echo "TempPath: " & viewer.TempPath

opened = viewer.OpenPDF(document)

If IsRemote(document) Then
    ' OpenPDF returns after the download has ended, so DownloadComplete has already been raised
    ' by then if this script host delivers events at all.
    If completed Then
        If failed And opened Then Fail "OpenPDF reported success after DownloadError"
        If opened And completedBytes <= 0 Then Fail "DownloadComplete reported " & completedBytes & " bytes for a document that opened"
    Else
        WScript.Echo "No download event arrived (this script host does not deliver events)."
    End If
End If

If Not opened Then Fail "OpenPDF failed for " & document
WScript.Echo "Opened: " & viewer.Path
Set viewer = Nothing
WScript.Echo "events.vbs: done"
WScript.Quit 0
