' A whole session as a script host drives it: open a document, page and zoom through it, read
' the page, zoom and page count, copy its text, print it with the Print dialog closed by the
' control's own suppression, and close the toolbar. Each result is checked; any failed check
' ends the script with exit code 1. The last line is "session.vbs: done" only when every check
' passed, since Wine's cscript exits 0 even after a script error.
'
'   cscript //nologo session.vbs <three_pages.pdf>
' with the stand-in component in its old layout (FOLIVEX_STANDIN_LAYOUT=old).
Option Explicit

Dim failures
failures = 0

Sub Check(ok, what)
    If Err.Number <> 0 Then
        WScript.Echo "FAILED: " & what & " (error " & Hex(Err.Number) & ": " & Err.Description & ")"
        failures = failures + 1
        Err.Clear
    ElseIf ok Then
        WScript.Echo "ok: " & what
    Else
        WScript.Echo "FAILED: " & what
        failures = failures + 1
    End If
End Sub

Sub Finish()
    If failures > 0 Then
        WScript.Echo failures & " check(s) failed"
        WScript.Quit 1
    End If
    WScript.Echo "session.vbs: done"
    WScript.Quit 0
End Sub

On Error Resume Next

If WScript.Arguments.Count < 1 Then
    WScript.Echo "FAILED: usage: cscript session.vbs DOCUMENT.pdf"
    failures = 1
    Finish
End If
Dim document
document = WScript.Arguments(0)

Dim viewer
Set viewer = CreateObject("Folivex.Viewer")
Check IsObject(viewer), "the control is created"
If failures > 0 Then Finish

' The old layout: page box "P of N".
viewer.ReaderVersion = 7
Check viewer.ReaderVersion = 7, "ReaderVersion 7"

Check viewer.PageTotal = 0, "no page count before a document"
Check viewer.OpenPDF(document), "OpenPDF opens " & document
Check viewer.PageTotal = 3, "PageTotal is 3"
Check viewer.Page = 1, "the document opens on page 1"

viewer.SetCurrentPage 3
Check viewer.Page = 3, "SetCurrentPage 3"
viewer.GotoPreviousPage
Check viewer.Page = 2, "GotoPreviousPage"
viewer.GotoLastPage
Check viewer.Page = 3, "GotoLastPage"
viewer.GotoFirstPage
Check viewer.Page = 1, "GotoFirstPage"
viewer.GotoNextPage
Check viewer.Page = 2, "GotoNextPage"

viewer.SetZoom 150
Check viewer.ZoomPct = 150, "SetZoom 150"
viewer.SetZoomScroll 75, 0, 10
Check viewer.ZoomPct = 75, "SetZoomScroll 75"
viewer.SetView 1
Check True, "SetView pvwFitH"
viewer.SetLayoutMode 2
Check True, "SetLayoutMode pvwOneColumn"
viewer.ShowScrollBars
Check True, "ShowScrollBars without an argument"
viewer.Refresh
Check True, "Refresh"

Dim expected, text
expected = "Folivex test page 1 of 3" & vbCrLf & "Folivex test page 2 of 3" & vbCrLf & _
           "Folivex test page 3 of 3"
text = viewer.CopyToString()
Check text = expected, "CopyToString returns the document's text (got """ & text & """)"
viewer.Search "page"
Check True, "Search"

' The component's Print dialog is modal; the control's suppression closes it.
viewer.DisablePrintDialog
viewer.PrintWithDialog
Check True, "PrintWithDialog returns once the suppressed dialog has closed"
viewer.EnablePrintDialog
viewer.PrintPages 5, 2
Check True, "PrintPages 5, 2"

viewer.ShowToolbar False, True
Check True, "ShowToolbar False, True closes the toolbar"
viewer.ShowToolbar
Check True, "ShowToolbar after closing does nothing"
viewer.EnableToolbar
viewer.DisableNavigationBar
viewer.EnableNavigationBar
Check True, "enable and disable the bars"
Check viewer.PageTotal = 3, "PageTotal is still 3"
Check viewer.Page = 2, "Page is still 2"

Set viewer = Nothing
Check True, "the control is released"
Finish
