VERSION 5.00
Object = "{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}#1.0#0"; "Folivex.dll"
Begin VB.Form ViewerForm
   Caption         =   "Folivex sample"
   ClientHeight    =   7200
   ClientLeft      =   60
   ClientTop       =   450
   ClientWidth     =   9600
   LinkTopic       =   "Form1"
   ScaleHeight     =   7200
   ScaleWidth      =   9600
   StartUpPosition =   3  'Windows Default
   Begin VB.TextBox txtPath
      Height          =   315
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   6255
   End
   Begin VB.CommandButton cmdOpen
      Caption         =   "&Open"
      Height          =   315
      Left            =   6480
      TabIndex        =   1
      Top             =   120
      Width           =   975
   End
   Begin VB.CommandButton cmdPrevious
      Caption         =   "<"
      Height          =   315
      Left            =   7560
      TabIndex        =   2
      Top             =   120
      Width           =   495
   End
   Begin VB.CommandButton cmdNext
      Caption         =   ">"
      Height          =   315
      Left            =   8100
      TabIndex        =   3
      Top             =   120
      Width           =   495
   End
   Begin VB.CheckBox chkLock
      Caption         =   "Lock"
      Height          =   315
      Left            =   8700
      TabIndex        =   4
      Top             =   120
      Width           =   795
   End
   Begin Folivex.Viewer Viewer1
      Height          =   6255
      Left            =   120
      TabIndex        =   5
      Top             =   540
      Width           =   9375
   End
   Begin VB.Label lblStatus
      Height          =   255
      Left            =   120
      TabIndex        =   6
      Top             =   6900
      Width           =   9375
   End
End
Attribute VB_Name = "ViewerForm"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
' A form that opens a document in a Folivex Viewer, pages through it, shows the download
' progress of remote documents and locks printing and saving on request.
'
' The control saves no properties with the form: set everything at run time, as below.
Option Explicit

Private Sub Form_Load()
    ' Downloads go here; the control deletes its downloaded copies itself.
    Viewer1.TempPath = Environ$("TEMP")
    If Not Viewer1.IsReaderInstalled() Then
        lblStatus.Caption = "The PDF viewer component is not installed."
        cmdOpen.Enabled = False
    End If
End Sub

Private Sub Form_Resize()
    If ScaleHeight > 1000 And ScaleWidth > 400 Then
        Viewer1.Move 120, 540, ScaleWidth - 240, ScaleHeight - 960
        lblStatus.Move 120, ScaleHeight - 300, ScaleWidth - 240
    End If
End Sub

Private Sub cmdOpen_Click()
    ' OpenPDF never raises an error; it returns False when the document cannot be shown.
    ' For an http/ftp address it downloads first and the Download events below arrive
    ' while it waits.
    Screen.MousePointer = vbHourglass
    If Viewer1.OpenPDF(Trim$(txtPath.Text)) Then
        ShowPosition
    Else
        lblStatus.Caption = "Could not open " & txtPath.Text
    End If
    Screen.MousePointer = vbDefault
End Sub

Private Sub cmdPrevious_Click()
    ' The navigation members pass the component's errors on unchanged.
    On Error GoTo Failed
    Viewer1.GotoPreviousPage
    ShowPosition
    Exit Sub
Failed:
    lblStatus.Caption = "GotoPreviousPage: " & Err.Description
End Sub

Private Sub cmdNext_Click()
    On Error GoTo Failed
    Viewer1.GotoNextPage
    ShowPosition
    Exit Sub
Failed:
    lblStatus.Caption = "GotoNextPage: " & Err.Description
End Sub

Private Sub chkLock_Click()
    If chkLock.Value = vbChecked Then
        Viewer1.DisablePrintDialog          ' closes dialogs titled "print"
        Viewer1.DisableSaveDialog           ' closes dialogs titled "save a copy..."
        Viewer1.DisableSaveKeys = True      ' swallows Ctrl+Shift+S on the desktop
        Viewer1.DisableToolbar
        ' A keyboard hook that could not be installed reads back False.
        If Not Viewer1.DisableSaveKeys Then lblStatus.Caption = "Ctrl+Shift+S cannot be blocked here."
    Else
        Viewer1.EnablePrintDialog
        Viewer1.EnableSaveDialog
        Viewer1.DisableSaveKeys = False
        Viewer1.EnableToolbar
    End If
End Sub

Private Sub ShowPosition()
    Dim total As Long
    ' PageTotal raises "Type mismatch" (13) when the toolbar's page box holds no count.
    On Error Resume Next
    total = Viewer1.PageTotal
    If Err.Number <> 0 Then total = 0
    On Error GoTo 0
    If total > 0 Then
        lblStatus.Caption = "Page " & Viewer1.Page & " of " & total & ", " & Viewer1.ZoomPct & "%"
    Else
        lblStatus.Caption = "Page " & Viewer1.Page & ", " & Viewer1.ZoomPct & "%"
    End If
End Sub

Private Sub Viewer1_DownloadStarted(SaveFile As String)
    lblStatus.Caption = "Downloading to " & SaveFile
End Sub

Private Sub Viewer1_DownloadProgress(CurBytes As Long, MaxBytes As Long, SaveFile As String)
    lblStatus.Caption = "Downloading " & CurBytes & " of " & MaxBytes & " bytes"
End Sub

Private Sub Viewer1_DownloadError(SaveFile As String)
    ' No file was written; OpenPDF returns False after DownloadComplete.
    lblStatus.Caption = "The download failed"
End Sub

Private Sub Viewer1_DownloadComplete(MaxBytes As Long, SaveFile As String)
    If MaxBytes > 0 Then lblStatus.Caption = "Downloaded " & MaxBytes & " bytes"
End Sub
