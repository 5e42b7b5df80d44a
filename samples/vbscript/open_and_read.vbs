' Opens a PDF document in a Folivex.Viewer and reads it back: version, page count, the page after
' navigating, the zoom after zooming, and the document's text.
'
'   cscript //nologo open_and_read.vbs [document]
'
' The document is a local path, a share path or an http/ftp address. Without one, the script looks
' for sample.pdf and then three_pages.pdf next to itself.
' Exit code 0 on success; otherwise non-zero with a message.
Option Explicit

Function Fail(message)
    WScript.Echo "open_and_read.vbs: " & message
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

Dim document, viewer, total, text
document = FindDocument()

On Error Resume Next
Set viewer = CreateObject("Folivex.Viewer")
If Err.Number <> 0 Then Fail "cannot create Folivex.Viewer (is Folivex.dll registered?): " & Err.Description
On Error GoTo 0

WScript.Echo "ReaderVersion: " & viewer.ReaderVersion
If Not viewer.IsReaderInstalled() Then Fail "the PDF viewer component (AcroPDF.PDF) is not installed"

' OpenPDF never raises: it returns False when the document cannot be shown.
If Not viewer.OpenPDF(document) Then Fail "OpenPDF failed for " & document
WScript.Echo "Opened: " & viewer.Path

' PageTotal raises "Type mismatch" (13) when the page box holds no count.
On Error Resume Next
total = viewer.PageTotal
If Err.Number <> 0 Then
    WScript.Echo "PageTotal: not available (" & Err.Description & ")"
    total = 0
    Err.Clear
Else
    WScript.Echo "PageTotal: " & total
End If
On Error GoTo 0

' The navigation members raise the component's error unchanged.
viewer.GotoLastPage
WScript.Echo "Page after GotoLastPage: " & viewer.Page
If total > 0 And viewer.Page <> total Then Fail "GotoLastPage ended on page " & viewer.Page & " of " & total
viewer.GotoFirstPage
viewer.GotoNextPage
WScript.Echo "Page after GotoFirstPage, GotoNextPage: " & viewer.Page
viewer.SetCurrentPage 1
WScript.Echo "Page after SetCurrentPage 1: " & viewer.Page
If viewer.Page <> 1 Then Fail "SetCurrentPage 1 ended on page " & viewer.Page

' SetZoom ignores errors; read the result back.
viewer.SetZoom 150
WScript.Echo "ZoomPct after SetZoom 150: " & viewer.ZoomPct
If viewer.ZoomPct <> 150 Then Fail "ZoomPct reads " & viewer.ZoomPct & " after SetZoom 150"

' CopyToString types Ctrl+A, Ctrl+C into the component and reads the clipboard; it returns ""
' when nothing was copied (for example when the host's window is not the active one).
text = viewer.CopyToString()
WScript.Echo "CopyToString: " & Len(text) & " characters"
If Len(text) > 0 Then WScript.Echo Left(text, 200)

Set viewer = Nothing
WScript.Echo "open_and_read.vbs: done"
WScript.Quit 0
