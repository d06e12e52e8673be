#pragma once

// The fixed texts of saving and printing, character for character: the
// notice has two blanks after "uložit." and a blank before the comma.

namespace parvolin {

// The save dialog's one file type: labelled "rtf", listing *.rtf.
inline constexpr char save_filter_label[] = "rtf";
inline constexpr char save_filter_pattern[] = "*.rtf";
inline constexpr char saved_file_suffix[] = ".rtf";

// The notice for a file that exists: before and after the target name.
inline constexpr char existing_file_notice_start[] = "Soubor ";
inline constexpr char existing_file_notice_end[] =
    " nelze uložit.  Soubor s tímto názvem již existuje , zvolte jiný název.";

// The name the print queue shows for the job.
inline constexpr char print_job_name[] = "Řešení úlohy";

} // namespace parvolin
