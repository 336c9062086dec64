#pragma once

inline constexpr char ApplicationName[] = "Varnel";
inline constexpr char AboutItemText[] = "&About Varnel..."; // string 101
inline constexpr char SocketsFailedText[] = "Windows sockets initialization failed."; // string 103
inline constexpr char TitlePrefix[] = "Varnel: ";

inline constexpr char TooManyText[] = "Too Many....";
inline constexpr char ClearQuestionText[] = "Are you sure that you want to clear list?";
inline constexpr char SaveErrorText[] = "Save to File";
inline constexpr char SaveErrorCaption[] = "Error Writing File";

// The file chooser's filters, shared by the export and the username import. "*.*" would hide names
// without a dot on this system, so "All Files" matches every name.
inline constexpr const char* FileChooserFilters[] = {"TXT Files (*.txt)", "DAT Files (*.dat)", "CSV Files (*.csv)",
                                                     "All Files (*)"};
inline constexpr char FileChooserDefaultSuffix[] = "txt";
