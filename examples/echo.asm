; echo.asm - copies every input line to the output until the input ends.
; Shows: the IN and OUT macros, and how a program notices the end of the
; input: IN then stores -1 (#FFFF) in the length word.
ECHO	START
LOOP	IN	BUF,LEN		; read one line (at most 80 characters)
	LD	GR1,LEN		; LD sets the sign flag for -1
	JMI	FINISH		; no more input
	OUT	BUF,LEN		; write the line back
	JUMP	LOOP
FINISH	RET
BUF	DS	80		; the longest line IN stores
LEN	DS	1
	END
