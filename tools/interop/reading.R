# The reading form (statcrane-model describes it) for the R readers.
escape <- function(x) {
  x <- gsub("\\", "\\\\", x, fixed = TRUE)
  x <- gsub("\t", "\\t", x, fixed = TRUE)
  x <- gsub("\n", "\\n", x, fixed = TRUE)
  gsub("\r", "\\r", x, fixed = TRUE)
}
column_name <- function(col) {
  name <- ""
  while (col > 0) {
    name <- paste0(LETTERS[(col - 1) %% 26 + 1], name)
    col <- (col - 1) %/% 26
  }
  name
}
emit <- function(...) cat(paste(..., sep = "\t"), "\n", sep = "")
# Cell lines of one column: rows, kinds ("n", "s" or "?") and value texts.
emit_cells <- function(col, rows, kinds, texts) {
  if (length(rows) == 0) return()
  cat(paste("cell", paste0(column_name(col), rows), kinds, escape(texts), sep = "\t"),
      sep = "\n")  # a separator with a newline ends the last line too
}
number_text <- function(x) sprintf("%.17g", x)
