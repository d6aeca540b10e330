# Reads a workbook with readxl (Debian r-cran-readxl): every sheet from A1
# on, each cell with its own type, white space kept, no text taken for a
# missing value; prints the values.
#   Rscript read_readxl.R FILE
args <- commandArgs(trailingOnly = FALSE)
here <- dirname(sub("^--file=", "", args[grep("^--file=", args)]))
source(file.path(here, "reading.R"))
suppressMessages(library(readxl))
path <- commandArgs(trailingOnly = TRUE)[1]
emit("reader", "readxl", as.character(packageVersion("readxl")))
emit("reads", "values")
for (sheet in excel_sheets(path)) {
  emit("sheet", escape(sheet))
  frame <- suppressMessages(read_excel(
    path, sheet = sheet, col_names = FALSE, col_types = "list", trim_ws = FALSE, na = character(),
    range = cellranger::cell_limits(c(1, 1), c(NA, NA)), .name_repair = "minimal"))
  for (col in seq_len(ncol(frame))) {
    values <- frame[[col]]
    kinds <- vapply(values, function(v) {
      if (is.null(v) || length(v) != 1 || is.na(v)) "" else if (is.numeric(v)) "n"
      else if (is.character(v)) "s" else "other"
    }, "")
    texts <- vapply(seq_along(values), function(i) {
      v <- values[[i]]
      switch(kinds[i], n = number_text(v), s = v, other = paste0("(", class(v)[1], ") ", format(v)), "")
    }, "")
    keep <- kinds != "" & texts != ""
    emit_cells(col, which(keep), ifelse(kinds[keep] == "other", "s", kinds[keep]), texts[keep])
  }
}
