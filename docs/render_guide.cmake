# cmake -DCMARK=... -DINPUT=guide-xx.md -DOUTPUT=guide-xx.html -DLANGUAGE=xx -DTITLE=... -P
# Turns one guide page into a whole HTML document. Raw HTML in the Markdown is kept: the section
# anchors are written there, the same in every language.
execute_process(COMMAND ${CMARK} --unsafe --smart ${INPUT}
                OUTPUT_VARIABLE body RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmark failed on ${INPUT}")
endif()
file(WRITE ${OUTPUT}
"<!DOCTYPE html>
<html lang=\"${LANGUAGE}\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>${TITLE}</title>
<link rel=\"stylesheet\" href=\"guide.css\">
</head>
<body>
${body}</body>
</html>
")
